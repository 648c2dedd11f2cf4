// ReceiveThread.cpp: open, signal the init event, then sleep on the socket's event and the thread's queue.
#include "net/ReceiveThread.h"

#include "app/UserMessages.h"

namespace net {

namespace {

// How long the thread yields when the Main window's queue is full before posting again.
constexpr DWORD kFullQueueRetryMs = 10;

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

enum class HandOver { Delivered, Dropped, QuitRequested };

// Posts the record to the Main window, which owns it from then on. A full
// queue is waited out rather than losing the record; only a window that is
// gone loses it.
HandOver HandOverRecord(const ReceiveThreadContext& context, RecordPtr record) {
    for (;;) {
        if (context.postMessage(context.window, UM_SYSLOG_RECORD, 0, reinterpret_cast<LPARAM>(record.get()))) {
            record.release();
            return HandOver::Delivered;
        }
        if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA) return HandOver::Dropped;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, kFullQueueRetryMs, QS_ALLINPUT) == WAIT_OBJECT_0 &&
            DispatchThreadMessages() == QueueOutcome::QuitRequested)
            return HandOver::QuitRequested;
    }
}

void RunReception(const ReceiveThreadContext& context) {
    StatusCode drained = Drain(context);
    const HANDLE event = context.receiver->Event();
    while (drained >= 0 && drained != kQuitRequested) {
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

StatusCode Drain(const ReceiveThreadContext& context) {
    for (unsigned posted = 1;; ++posted) {
        RecordPtr record;
        const StatusCode step = context.receiver->ReceiveStep(record);
        if (step != kStatusOk) return step;
        switch (HandOverRecord(context, std::move(record))) {
        case HandOver::Delivered:
            if (posted % kRecordsBetweenQuitChecks == 0 && QuitRequestQueued()) return kQuitRequested;
            break;
        case HandOver::Dropped:
            return kStatusOk;  // the event is still signalled: the next wait ends at once
        case HandOver::QuitRequested:
            return kQuitRequested;
        }
    }
}

DWORD WINAPI ReceiveThreadProc(void* parameter) {
    const ReceiveThreadContext& context = *static_cast<const ReceiveThreadContext*>(parameter);
    // Make the thread's queue now, so the quit request can never be posted before it exists.
    MSG unused;
    PeekMessageW(&unused, nullptr, 0, 0, PM_NOREMOVE);

    const StatusCode opened = context.receiver->Open(context.port);
    SetEvent(context.initEvent);
    if (opened != kStatusOk) return static_cast<DWORD>(-1);

    RunReception(context);
    context.receiver->Close();
    return 0;
}

}  // namespace net
