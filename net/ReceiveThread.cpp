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

// A wait that also watches the thread's queue costs a trip to the server
// each time; while datagrams flow that would be one per datagram. So then the
// thread waits on the socket alone and looks at its queue every
// kQueueLookMs; once the flow has been quiet that long it goes back to the
// wait that watches both, and sleeps until either stirs.
void RunReception(const ReceiveThreadContext& context) {
    DrainEnd drained = Drain(context);
    const HANDLE event = context.receiver->Event();
    bool flowing = false;
    ULONGLONG lookedAt = 0;
    while (drained != DrainEnd::Failed && drained != DrainEnd::QuitRequested) {
        DWORD woken;
        if (flowing) {
            woken = WaitForSingleObject(event, kQueueLookMs);
            const ULONGLONG now = GetTickCount64();
            if (woken != WAIT_OBJECT_0 || now - lookedAt >= kQueueLookMs) {
                flowing = woken == WAIT_OBJECT_0;
                lookedAt = now;
                if (DispatchThreadMessages() == QueueOutcome::QuitRequested) return;
            }
        } else {
            woken = MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT);
            if (woken == WAIT_OBJECT_0 + 1) {
                if (DispatchThreadMessages() == QueueOutcome::QuitRequested) return;
                continue;
            }
            flowing = true;
            lookedAt = GetTickCount64();
        }
        if (woken == WAIT_FAILED) return;
        if (woken == WAIT_OBJECT_0) drained = Drain(context);
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
