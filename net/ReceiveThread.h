// ReceiveThread.h: the thread that runs the Datagram receiver and hands records to the Main window.
#pragma once

#include <windows.h>

#include "net/DatagramReceiver.h"

namespace net {

// Posts one message; PostMessageA in the program, a stand-in in tests.
using MessagePoster = BOOL (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What the Receive thread reads of the Main window; fixed before the thread starts.
struct ReceiveThreadContext {
    HWND window;
    DatagramReceiver* receiver;
    HANDLE initEvent;
    unsigned short port;
    MessagePoster postMessage;
};

// Exit code 0, or -1 when the receiver could not be opened.
DWORD WINAPI ReceiveThreadProc(void* context);

// How many records a drain posts between two looks for the quit request; each
// look costs a trip to the system, and a flood never lets the drain wait.
constexpr unsigned kRecordsBetweenQuitChecks = 32;

// Answer of Drain when the quit request arrived while it was still collecting.
constexpr StatusCode kQuitRequested = 2;

// Collects every receive that completes without waiting and posts each record.
// Answers the last receive step's result (kReceivePending when a receive is
// left outstanding), or kQuitRequested.
StatusCode Drain(const ReceiveThreadContext& context);

}  // namespace net
