// RecordArrivalTest.cpp: where a record goes under the display, file and scroll options.
#include <gtest/gtest.h>

#include <string>

#include "list/MessageList.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

bool LastRowVisible(HWND list) {
    const int rowsPerPage = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    return TopRow(list) + rowsPerPage >= win::ListView(list).Count();
}

constexpr int kManyPages = 100;  // rows: several pages of the list

TEST(RecordArrival, WithAutoscrollOffTheViewStaysAtTheTop) {
    RunningMainWindow main(SettingsIni(0, 1, 0, L""));
    const HWND list = main.Window().MessageList();
    for (int i = 0; i < kManyPages; ++i) {
        PostRecord(main.Window(), "row " + std::to_string(i));
        HandlePostedMessages();
    }

    ASSERT_EQ(kManyPages, win::ListView(list).Count());
    ASSERT_FALSE(LastRowVisible(list));
    EXPECT_EQ(0, TopRow(list));
}

TEST(RecordArrival, WithAutoscrollOnTheNewestRowIsInView) {
    RunningMainWindow main(SettingsIni(1, 1, 0, L""));
    const HWND list = main.Window().MessageList();
    for (int i = 0; i < kManyPages; ++i) {
        PostRecord(main.Window(), "one by one " + std::to_string(i));
        HandlePostedMessages();
    }
    ASSERT_EQ(kManyPages, win::ListView(list).Count());
    EXPECT_GT(TopRow(list), 0);
    EXPECT_TRUE(LastRowVisible(list));

    for (int i = 0; i < kManyPages; ++i) PostRecord(main.Window(), "in a burst " + std::to_string(i));
    HandlePostedMessages();
    ASSERT_EQ(2 * kManyPages, win::ListView(list).Count());
    EXPECT_TRUE(LastRowVisible(list));
}

}  // namespace
