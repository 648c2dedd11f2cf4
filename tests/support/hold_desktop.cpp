// hold_desktop.cpp: keeps Wine's desktop process running for a whole test run.
//
// The first Wine program that makes a window starts the desktop process, which
// inherits that program's output. Started by the test script with its output
// sent nowhere, this one makes the window first, so no test's output pipe is
// held open until the run ends. It never shows anything and runs until stopped.
#include <windows.h>

int main() {
    CreateWindowExA(0, "STATIC", "hold desktop", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
