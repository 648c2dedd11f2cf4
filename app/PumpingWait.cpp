// PumpingWait.cpp: MsgWaitForMultipleObjects with the queue drained at every wake.
#include "app/PumpingWait.h"

namespace app {

void DispatchQueuedMessages(QuitRequest& quit) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit.seen = true;
            quit.exitCode = static_cast<int>(msg.wParam);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpingWait(HANDLE handle) {
    QuitRequest quit;
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) break;  // signalled, or the handle is unusable
        DispatchQueuedMessages(quit);
    }
    quit.PassOn();
}

}  // namespace app
