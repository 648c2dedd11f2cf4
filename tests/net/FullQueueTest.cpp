// FullQueueTest.cpp: a Main window whose queue is full loses no record.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "log/MessageList.h"
#include "net/ReceiveThread.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::PumpUntil;
using testing_support::RunningMainWindow;

// Refuses posts as a full queue would, as often as told, then posts for real.
std::atomic<int> g_refusalsLeftPerRecord{0};
std::atomic<int> g_refusals{0};
std::atomic<bool> g_alwaysFull{false};

BOOL PostWithFullQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static thread_local int refusedInARow = 0;
    if (g_alwaysFull || refusedInARow < g_refusalsLeftPerRecord) {
        ++refusedInARow;
        ++g_refusals;
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    }
    refusedInARow = 0;
    return PostMessageA(window, message, wParam, lParam);
}

// A second receiver and thread of ours, posting to the running Main window.
struct ExtraReceiver {
    net::DatagramReceiver receiver;
    HANDLE initEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    net::ReceiveThreadContext context{};
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    unsigned short port = testing_support::FreeUdpPort();

    explicit ExtraReceiver(HWND window) {
        context = {window, &receiver, initEvent, port, PostWithFullQueue};
        thread = CreateThread(nullptr, 0, net::ReceiveThreadProc, &context, 0, &threadId);
        WaitForSingleObject(initEvent, 5000);
    }
    // Answers whether the thread ended within the time.
    bool Stop(DWORD timeoutMs, DWORD& exitCode) {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        const bool ended = PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, timeoutMs);
        GetExitCodeThread(thread, &exitCode);
        return ended;
    }
    ~ExtraReceiver() {
        DWORD exitCode;
        Stop(5000, exitCode);
        CloseHandle(thread);
        CloseHandle(initEvent);
    }
};

TEST(FullQueue, EveryRecordArrivesOnceInOrderWhenPostsAreRefusedForAWhile) {
    RunningMainWindow window;
    const long recordsBefore = net::SyslogRecordsAlive();
    g_alwaysFull = false;
    g_refusalsLeftPerRecord = 3;
    g_refusals = 0;
    {
        ExtraReceiver extra(window.Handle());
        for (int number = 0; number < 20; ++number)
            testing_support::SendDatagram(extra.port, "queued " + std::to_string(number));
        const HWND list = window.Window().MessageList();
        ASSERT_TRUE(PumpUntil([&] { return messagelog::RowCount(list) == 20; }));
        testing_support::PumpFor(100);
        ASSERT_EQ(20, messagelog::RowCount(list));
        for (int number = 0; number < 20; ++number)
            EXPECT_EQ("queued " + std::to_string(number), testing_support::RowMessage(window.Window(), number));
        EXPECT_GE(g_refusals.load(), 60);
    }
    window.Close();
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

TEST(FullQueue, ClosingWhileARecordWaitsForRoomIsPromptAndReleasesIt) {
    RunningMainWindow window;
    const long recordsBefore = net::SyslogRecordsAlive();
    g_alwaysFull = true;
    g_refusals = 0;
    {
        ExtraReceiver extra(window.Handle());
        testing_support::SendDatagram(extra.port, "never room for this one");
        ASSERT_TRUE(PumpUntil([] { return g_refusals.load() > 5; }));
        DWORD exitCode = 1;
        EXPECT_TRUE(extra.Stop(2000, exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_EQ(0, messagelog::RowCount(window.Window().MessageList()));
    }
    g_alwaysFull = false;
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

}  // namespace
