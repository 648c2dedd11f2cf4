// MessageLoop.cpp: GetMessage, the modeless dialog, the accelerators, then translate and dispatch.
#include "app/MessageLoop.h"

#include "app/ProcessMainWindow.h"

namespace app {

namespace {
HWND g_modelessDialog = nullptr;  // touched by the user-interface thread only
}

void SetModelessDialog(HWND dialog) {
    g_modelessDialog = dialog;
}

void RunMessageLoop(HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (g_modelessDialog && IsDialogMessageA(g_modelessDialog, &msg)) continue;
        if (TranslateAcceleratorA(ProcessMainWindowHandle(), accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace app
