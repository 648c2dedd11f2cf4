// DiagnosticReporter.cpp: format here, post to the Main window, release if the post fails.
#include "diag/DiagnosticReporter.h"

#include <windows.h>

#include <cstdarg>

#include "app/ProcessMainWindow.h"
#include "app/UserMessages.h"
#include "diag/DiagnosticText.h"

namespace diag {

void Report(StatusCode status, const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    DiagnosticText text = FormatDiagnostic(status, format, arguments);
    va_end(arguments);
    if (!text) return;

    // No window means no post: a null handle would queue the text to this thread, where nobody takes it.
    const HWND mainWindow = app::ProcessMainWindowHandle();
    if (mainWindow && PostMessageA(mainWindow, UM_DIAGNOSTIC_TEXT, 0, reinterpret_cast<LPARAM>(text.get())))
        text.release();  // the posted message owns it now
}

}  // namespace diag
