// PumpingWait.h: waiting for one handle while the thread's window messages keep being handled.
#pragma once

#include <windows.h>

namespace app {

// A quit request met while dispatching, handed on to the message loop afterwards.
struct QuitRequest {
    bool seen = false;
    int exitCode = 0;
    void PassOn() const {
        if (seen) PostQuitMessage(exitCode);
    }
};

// Handles every message already queued for the thread, then returns. A quit
// request is taken out and remembered rather than handled.
void DispatchQueuedMessages(QuitRequest& quit);

// Returns once the handle is signalled; no accelerators are translated meanwhile.
void PumpingWait(HANDLE handle);

}  // namespace app
