// MessageLoop.cpp: GetMessage, the modeless dialog, the accelerators, then translate and dispatch.
#include "app/MessageLoop.h"

#include "app/MainWindow.h"
#include "app/ProcessMainWindow.h"

namespace app {

// The window is asked for every message: its dialog comes and goes.
void RunMessageLoop(HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        const MainWindow* const window = ProcessMainWindow();
        const HWND dialog = window ? window->ModelessDialog() : nullptr;
        if (dialog && IsDialogMessageA(dialog, &msg)) continue;
        if (TranslateAcceleratorA(ProcessMainWindowHandle(), accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace app
