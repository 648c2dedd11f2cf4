// ReceiveThread.cpp: open, signal the init event, then sleep on the socket's event and the thread's queue.
#include "net/ReceiveThread.h"

#include <utility>

namespace net {

namespace {

enum class QueueOutcome { Empty, QuitRequested };

// Dispatches the thread's queued messages; stops at WM_QUIT, leaving later ones unread.
QueueOutcome DispatchThreadMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return QueueOutcome::QuitRequested;
        DispatchMessageW(&msg);
    }
    return QueueOutcome::Empty;
}

// While datagrams keep coming every receive completes at once and the drain
// never waits, so the quit request is looked for between records as well.
bool QuitRequestQueued() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

void RunReception(const ReceiveThreadContext& context) {
    DrainEnd drained = Drain(context);
    const HANDLE event = context.receiver->Event();
    while (drained != DrainEnd::Failed && drained != DrainEnd::QuitRequested) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 + 1) {
            if (DispatchThreadMessages() == QueueOutcome::QuitRequested) return;
        } else if (woken == WAIT_FAILED) {
            return;
        } else {
            drained = Drain(context);
        }
    }
}

}  // namespace

DrainEnd Drain(const ReceiveThreadContext& context) {
    for (unsigned queued = 1;; ++queued) {
        RecordPtr record;
        switch (context.receiver->ReceiveStep(record)) {
        case ReceiveResult::Pending:
            return DrainEnd::Pending;
        case ReceiveResult::Failed:
            return DrainEnd::Failed;
        case ReceiveResult::Received:
            break;
        }
        context.deliveries->Push(std::move(record));
        if (queued % kRecordsBetweenQuitChecks == 0 && QuitRequestQueued()) return DrainEnd::QuitRequested;
    }
}

DWORD WINAPI ReceiveThreadProc(void* parameter) {
    const ReceiveThreadContext& context = *static_cast<const ReceiveThreadContext*>(parameter);
    // Make the thread's queue now, so the quit request can never be posted before it exists.
    MSG unused;
    PeekMessageW(&unused, nullptr, 0, 0, PM_NOREMOVE);

    const StatusCode opened = context.receiver->Open(context.port);
    SetEvent(context.initEvent);
    if (opened != S_OK) return static_cast<DWORD>(-1);

    RunReception(context);
    context.receiver->Close();
    return 0;
}

}  // namespace net
