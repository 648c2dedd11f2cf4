// DiagnosticsPane.h: the read-only text pane that collects the program's diagnostics.
#pragma once

#include <windows.h>

#include "diag/DiagnosticText.h"

namespace diag {

// Creates the pane as a child of parent at the given place; null on failure.
HWND CreateDiagnosticsPane(HWND parent, int x, int y, int width, int height);

// Appends the text after everything the pane holds and releases it.
void AppendDiagnostic(HWND pane, DiagnosticText text);

void ClearDiagnosticsPane(HWND pane);

}  // namespace diag
