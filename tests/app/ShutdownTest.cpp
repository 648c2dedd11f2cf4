// ShutdownTest.cpp: closing the Main window while records are on their way.
#include <gtest/gtest.h>

#include <string>

#include "list/MessageList.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

// Waits, without handling the window's messages, until the Receive thread has
// made this many records: they then wait in the queue, posted but not handled.
bool WaitUntilRecordsAreQueued(long count) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (net::SyslogRecordsAlive() < count) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(1);
    }
    return true;
}

TEST(Shutdown, RecordsStillQueuedAtCloseAreWrittenAndReleased) {
    const long recordsBefore = net::SyslogRecordsAlive();
    TempFolder files;
    const std::wstring path = files.File(L"capture.csv");
    RunningMainWindow main(SettingsIni(1, 1, 1, path));
    constexpr int kCount = 40;
    std::string expected;
    for (int i = 0; i < kCount; ++i) {
        const std::string message = "queued " + std::to_string(i);
        SendDatagram(main.Port(), message);
        expected += "127.0.0.1," + message + "\r\n";
    }
    ASSERT_TRUE(WaitUntilRecordsAreQueued(recordsBefore + kCount));
    ASSERT_EQ(0, win::ListView(main.Window().MessageList()).Count());

    main.Close();
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_EQ(expected, ReadFileBytes(path));
}

TEST(Shutdown, ClosingWhileDatagramsKeepArrivingEndsAndReleasesEveryRecord) {
    const long recordsBefore = net::SyslogRecordsAlive();
    RunningMainWindow main;
    Flood flood(main.Port());
    ASSERT_TRUE(HandleMessagesUntil([&] { return win::ListView(main.Window().MessageList()).Count() > 100; }));

    const HWND window = main.Handle();
    main.Close();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

}  // namespace
