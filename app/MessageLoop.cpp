// MessageLoop.cpp: GetMessage, accelerators first, then translate and dispatch.
#include "app/MessageLoop.h"

#include "app/ProcessMainWindow.h"

namespace app {

void RunMessageLoop(HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(ProcessMainWindowHandle(), accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace app
