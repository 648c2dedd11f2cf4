// ShutdownTest.cpp: closing the Main window while records are on their way.
#include <gtest/gtest.h>

#include <string>

#include "list/MessageList.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

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
