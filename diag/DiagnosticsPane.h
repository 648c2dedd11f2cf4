// DiagnosticsPane.h: the read-only text pane that collects the program's diagnostics.
#pragma once

#include <windows.h>

#include "diag/DiagnosticText.h"

namespace diag {

constexpr int kDiagnosticsPaneId = 2;

// Creates the pane as a child of parent at the given place; null on failure.
HWND CreateDiagnosticsPane(HWND parent, int x, int y, int width, int height);

// Appends the text after everything the pane holds and releases it.
void AppendDiagnostic(HWND pane, DiagnosticText text);

// Takes the owned text out of a UM_DIAGNOSTIC_TEXT long parameter.
inline DiagnosticText TakeDiagnosticText(LPARAM lParam) {
    return DiagnosticText(reinterpret_cast<wchar_t*>(lParam));
}

void ClearDiagnosticsPane(HWND pane);

}  // namespace diag
