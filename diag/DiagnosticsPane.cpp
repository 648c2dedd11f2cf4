// DiagnosticsPane.cpp: an 8-bit read-only multi-line EDIT that only grows, until cleared.
#include "diag/DiagnosticsPane.h"

#include "res/resource.h"

namespace diag {

HWND CreateDiagnosticsPane(HWND parent, int x, int y, int width, int height) {
    const HWND pane = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_READONLY | ES_MULTILINE,
                                      x, y, width, height, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DIAGNOSTICS_PANE)),
                                      GetModuleHandleW(nullptr), nullptr);
    if (!pane) return nullptr;
    SendMessageA(pane, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    // The control's default limit would silently drop diagnostics past about 32K characters.
    SendMessageA(pane, EM_SETLIMITTEXT, 0, 0);
    return pane;
}

void AppendDiagnostic(HWND pane, DiagnosticText text) {
    const int end = GetWindowTextLengthW(pane);
    SendMessageW(pane, EM_SETSEL, end, end);
    SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.get()));
    SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

void ClearDiagnosticsPane(HWND pane) {
    SetWindowTextW(pane, L"");
}

}  // namespace diag
