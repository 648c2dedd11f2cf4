// DiagnosticsPane.h: the read-only text pane that collects the program's diagnostics.
#pragma once

#include <windows.h>

#include <string>

#include "diag/DiagnosticText.h"

namespace diag {

// Creates the pane as a child of parent at the given place; null on failure.
HWND CreateDiagnosticsPane(HWND parent, int x, int y, int width, int height);

// Diagnostics taken together, appended to the pane at once. The pane's edit
// control lays its whole text out again on every append, so a storm of
// diagnostics costs one append a turn rather than one a text.
class DiagnosticBatch {
public:
    // Takes the text's characters and releases it. When no memory can be had
    // for them, what is held goes to the pane first and the text after it.
    void Add(HWND pane, DiagnosticText text);
    // Appends what is held after everything the pane shows, then holds nothing.
    void AppendTo(HWND pane);

private:
    std::wstring texts_;
};

void ClearDiagnosticsPane(HWND pane);

}  // namespace diag
