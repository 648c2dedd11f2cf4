// ReceiveThread.h: the thread that runs the Datagram receiver and hands records to the UI thread.
#pragma once

#include <windows.h>

#include "net/DatagramReceiver.h"
#include "net/DeliveryQueue.h"

namespace net {

// What the Receive thread is given; fixed before the thread starts.
struct ReceiveThreadContext {
    DeliveryQueue* deliveries;
    DatagramReceiver* receiver;
    HANDLE initEvent;
    unsigned short port;
};

// Exit code 0, or -1 when the receiver could not be opened.
DWORD WINAPI ReceiveThreadProc(void* context);

// How many records a drain queues between two looks for the quit request; each
// look costs a trip to the system, and a flood never lets the drain wait.
constexpr unsigned kRecordsBetweenQuitChecks = 32;

// While datagrams flow, how often the thread looks at its queue between them.
constexpr DWORD kQueueLookMs = 50;

// How a drain ended.
enum class DrainEnd {
    Pending,        // a receive is outstanding
    Failed,         // reported; reception ends
    QuitRequested,  // the quit request arrived while it was still collecting
};

// Collects every receive that completes without waiting and queues each
// record; the queue counts what it cannot take, and reception goes on.
DrainEnd Drain(const ReceiveThreadContext& context);

}  // namespace net
