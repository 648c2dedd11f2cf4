// RowsLeavingTest.cpp: while the oldest rows leave a full list, what the user looks at stays where it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list/MessageList.h"
#include "res/resource.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

constexpr int kKept = 1000;

// Every tenth row is one a rule marks.
std::string Numbered(int number) {
    return "row " + std::to_string(number) + (number % 10 == 5 ? " mark" : "");
}

// Rows numbered from first on, one turn each, or all in one flood.
void Deliver(app::MainWindow& window, int first, int count, bool oneByOne) {
    for (int number = first; number < first + count; ++number) {
        PostRecord(window, Numbered(number));
        if (oneByOne) HandlePostedMessages();
    }
    HandlePostedMessages();
}

std::string Message(HWND list, int row) {
    return row < 0 ? "<none>" : CellText(list, row, 1);
}

int TopRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
}

int RowTop(HWND list, int row) {
    RECT place{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&place));
    return place.top;
}

std::vector<std::string> MessagesWith(HWND list, UINT state) {
    std::vector<std::string> messages;
    for (int row = ListView_GetNextItem(list, -1, state); row >= 0; row = ListView_GetNextItem(list, row, state))
        messages.push_back(Message(list, row));
    return messages;
}

void Select(HWND list, int row, UINT states) {
    ListView_SetItemState(list, row, states, states);
}

int RowOf(HWND list, const std::string& message) {
    for (int row = 0; row < win::ListView(list).Count(); ++row)
        if (Message(list, row) == message) return row;
    return -1;
}

// Autoscroll off, a thousand rows kept. The view shows rows 600 on, rows 650
// and 660 are selected, 660 has the focus, and row 3 is selected too. Then
// 5,000 rows arrive, by turns of one row and in floods, and the oldest leave.
TEST(RowsLeaving, TheRowsOnScreenTheSelectionAndFocusStayWithTheirMessagesUntilTheyLeave) {
    RunningMainWindow main(SettingsSection({{"Autoscroll", "0"}, {"KeepRows", "1000"}}));
    app::MainWindow& window = main.Window();
    const HWND list = window.MessageList();
    records::CountedRule marking;
    marking.rule.name = "marked";
    marking.rule.conditions.showText = "mark";
    marking.rule.mark = true;
    window.SetWatchRules({marking});
    Deliver(window, 0, kKept, false);
    ASSERT_EQ(kKept, win::ListView(list).Count());
    Select(list, 3, LVIS_SELECTED);
    Select(list, 650, LVIS_SELECTED);
    Select(list, 660, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list, 650);
    ListView_EnsureVisible(list, kKept - 1, FALSE);
    ListView_EnsureVisible(list, 600, FALSE);
    ASSERT_EQ("row 600", Message(list, TopRow(list)));
    const int topAt = RowTop(list, TopRow(list));
    EXPECT_EQ("", PaneText(window.DiagnosticsPane()));

    Deliver(window, kKept, 150, true);
    Deliver(window, kKept + 150, 150, false);
    ASSERT_EQ(kKept, win::ListView(list).Count());
    EXPECT_EQ("row 300", Message(list, 0));
    EXPECT_EQ("row 1299", Message(list, kKept - 1));
    EXPECT_EQ("row 600", Message(list, TopRow(list)));
    EXPECT_EQ(topAt, RowTop(list, TopRow(list))) << "the top row where it was";
    EXPECT_EQ((std::vector<std::string>{"row 650", "row 660"}), MessagesWith(list, LVNI_SELECTED))
        << "row 3 left and took no other row's place";
    EXPECT_EQ((std::vector<std::string>{"row 660"}), MessagesWith(list, LVNI_FOCUSED));
    EXPECT_EQ("row 650", Message(list, ListView_GetSelectionMark(list)));

    // Find, F2 and Shift+F2 go on from the focused row's message.
    ASSERT_TRUE(window.Messages().Find(records::TextMatcher("row 67", false), true));
    EXPECT_EQ((std::vector<std::string>{"row 670"}), MessagesWith(list, LVNI_SELECTED));
    Deliver(window, kKept + 300, 20, true);
    SendMessageA(main.Handle(), WM_COMMAND, ID_NEXT_MARKED_ROW, 0);
    EXPECT_EQ((std::vector<std::string>{"row 675 mark"}), MessagesWith(list, LVNI_SELECTED));
    Deliver(window, kKept + 320, 200, false);
    SendMessageA(main.Handle(), WM_COMMAND, ID_PREVIOUS_MARKED_ROW, 0);
    EXPECT_EQ((std::vector<std::string>{"row 665 mark"}), MessagesWith(list, LVNI_SELECTED));
    SendMessageA(main.Handle(), WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    Deliver(window, kKept + 520, 100, true);
    EXPECT_EQ(static_cast<UINT>(kKept - 100), ListView_GetSelectedCount(list)) << "the rows held when Select all was pressed";
    EXPECT_EQ("row 620", Message(list, ListView_GetNextItem(list, -1, LVNI_SELECTED)));

    // Once they have left themselves, the list shows its oldest rows, nothing selected.
    Deliver(window, kKept + 620, 5000 - 620, false);
    EXPECT_EQ("row 5000", Message(list, 0));
    EXPECT_EQ(0, TopRow(list));
    EXPECT_TRUE(MessagesWith(list, LVNI_SELECTED).empty());
    EXPECT_TRUE(MessagesWith(list, LVNI_FOCUSED).empty());
    EXPECT_EQ(-1, RowOf(list, "row 4999"));
    EXPECT_EQ(kKept - 1, RowOf(list, "row 5999"));
    EXPECT_EQ("The list keeps the newest 1,000 rows; older rows now leave it as new ones arrive\n",
              PaneText(window.DiagnosticsPane()))
        << "said once, without the Capture file's bracket while there is none";
}

// With autoscroll a view at the end stays there, the newest row in sight.
TEST(RowsLeaving, WithAutoscrollTheNewestRowStaysInView) {
    RunningMainWindow main(SettingsSection({{"KeepRows", "1000"}}));
    const HWND list = main.Window().MessageList();
    Deliver(main.Window(), 0, kKept + 10, true);
    Deliver(main.Window(), kKept + 10, 500, false);
    ASSERT_EQ(kKept, win::ListView(list).Count());
    const int rowsPerPage = ListView_GetCountPerPage(list);
    EXPECT_EQ(kKept - rowsPerPage, TopRow(list));
    EXPECT_EQ("row 1509", Message(list, kKept - 1));
}

}  // namespace
