// RecordFeed.h: handing records to the Main window as the Receive thread does, and what became of them.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/ProcessMainWindow.h"
#include "diag/StatusCode.h"
#include "list/MessageList.h"
#include "net/SyslogRecord.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

namespace testing_support {

// Makes a record of the datagram bytes from the sender and queues it for the window.
inline void PostRecord(app::MainWindow& window, const std::string& bytes, const char* sender = "10.1.2.3") {
    QueueRecord(window, MakeRecord(bytes, sender));
}

// Handles messages one at a time until the condition holds; unlike PumpUntil it
// needs no moment when the queue runs dry, which never comes under a flood.
inline bool HandleMessagesUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// Handles every message already waiting in the thread's queue, then
// everything queued for the Main window: between two of its turns the window
// takes its queue on a timer rather than on a doorbell; while records came
// faster than one a turn, the list and the file catch up on that timer too.
inline void HandlePostedMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    app::MainWindow* const window = app::ProcessMainWindow();
    if (!window || !window->Handle()) return;
    SendMessageA(window->Handle(), UM_DELIVERIES_WAITING, 0, 0);
    EXPECT_TRUE(HandleMessagesUntil([window] { return window->DeliveriesCaughtUp(); }));
}

// Checks a diagnostic with a code line: the head up to the bracketed code, then
// the system's own text for the code, or a description of ours where the
// system has none.
inline void ExpectDiagnosticWithCode(const std::string& shown, const std::string& headWithCode, StatusCode status) {
    ASSERT_EQ(headWithCode, shown.substr(0, headWithCode.size())) << shown;
    const std::string description = shown.substr(headWithCode.size());
    const std::string systemText = testing_support::SystemText(static_cast<DWORD>(status));
    if (!systemText.empty())
        EXPECT_EQ(systemText, description);
    else
        EXPECT_TRUE(description.size() > 2 && description.substr(description.size() - 2) == "\r\n") << shown;
}

// Sends datagrams to the port from one socket, back to back or one every
// gapMs, until it goes.
class Flood {
public:
    explicit Flood(unsigned short port, DWORD gapMs = 0)
        : stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), sender_([this, port, gapMs] {
              const SOCKET out = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
              sockaddr_in to{};
              to.sin_family = AF_INET;
              to.sin_port = htons(port);
              to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
              const char text[] = "<13>flood";
              while (WaitForSingleObject(stop_, gapMs) == WAIT_TIMEOUT)
                  sendto(out, text, sizeof text - 1, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
              closesocket(out);
          }) {}
    ~Flood() {
        SetEvent(stop_);
        sender_.join();
        CloseHandle(stop_);
    }

private:
    const HANDLE stop_;  // made before the sender starts
    std::thread sender_;
};

}  // namespace testing_support
