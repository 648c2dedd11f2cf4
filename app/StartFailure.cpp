// StartFailure.cpp: the text of a diagnostic, shown in a message box instead of the pane.
#include "app/StartFailure.h"

#include "diag/DiagnosticText.h"
#include "res/resource.h"

namespace app {

StatusCode LastStatus() {
    const DWORD error = GetLastError();
    return error ? StatusFromError(static_cast<long>(error)) : E_FAIL;
}

void ShowStartFailure(const StartFailure& failure) {
    if (!failure.what) return;
    // The window that failed asked to end the loop as it went; the box's own loop would end at that request.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    const diag::DiagnosticText text = diag::MakeDiagnostic(failure.status, L"%s", failure.what);
    // Without memory for the code's text, what failed is still said.
    MessageBoxW(nullptr, text ? text.get() : failure.what, L"" PRODUCT_TITLE, MB_OK | MB_ICONERROR);
}

}  // namespace app
