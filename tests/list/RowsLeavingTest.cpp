// RowsLeavingTest.cpp: while the oldest rows leave a full list, what the user looks at stays where it is.
#include <gtest/gtest.h>

#include <algorithm>
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
    return row < 0 ? "<none>" : testing_support::CellText(list, row, 1);
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

std::string Title(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// Rows as Deliver hands them over, and every turn they take, until the list
// has let the rows that left go: a diagnostic queued behind a flood's
// records holds the list back until the turn after it.
void DeliverAll(app::MainWindow& window, int first, int count, bool oneByOne) {
    Deliver(window, first, count, oneByOne);
    const std::string last = Numbered(first + count - 1);
    EXPECT_TRUE(HandleMessagesUntil([&] {
        const records::RecordStore& held = window.StoredRows();
        return held.Count() > 0 && held.Row(held.Count() - 1).message == last &&
               win::ListView(window.MessageList()).Count() == window.Messages().RowCount();
    }));
}

bool PauseChecked(HWND mainWindow) {
    const HMENU view = GetSubMenu(GetMenu(mainWindow), 0);
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 0);
    return (GetMenuState(view, ID_VIEW_PAUSE, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Auto-scroll on, a thousand rows kept. Paused, the view neither grows nor
// scrolls while rows keep arriving into the book; rows leaving the book
// leave it as they always do; Find and Copy act on what it shows; a filter
// applied meanwhile shows its rows that arrived before the pause; Pause again
// shows every row and scrolls to the newest.
TEST(Pause, TheViewHoldsStillAndCountsTheNewRowsUntilPauseIsPressedAgain) {
    RunningMainWindow main(SettingsSection({{"KeepRows", "1000"}}));
    app::MainWindow& window = main.Window();
    const HWND list = window.MessageList();
    const auto command = [&](WORD id) { SendMessageA(main.Handle(), WM_COMMAND, id, 0); };
    const auto titleBecomes = [&](const std::string& title) {
        return HandleMessagesUntil([&] { return Title(main.Handle()) == title; }) ? title : Title(main.Handle());
    };
    DeliverAll(window, 0, 505, false);
    const int perPage = ListView_GetCountPerPage(list);
    ASSERT_EQ(505 - perPage, TopRow(list));
    EXPECT_FALSE(PauseChecked(main.Handle()));

    command(ID_VIEW_PAUSE);
    EXPECT_TRUE(PauseChecked(main.Handle()));
    EXPECT_EQ("Kelv SysLog monitor - paused, 0 new", Title(main.Handle()));
    DeliverAll(window, 505, 100, true);
    DeliverAll(window, 605, 200, false);
    EXPECT_EQ(805u, window.StoredRows().Count());
    EXPECT_EQ(505, win::ListView(list).Count());
    EXPECT_EQ(505 - perPage, TopRow(list)) << "nothing scrolls";
    EXPECT_EQ("row 504", Message(list, 504));
    EXPECT_EQ("Kelv SysLog monitor - paused, 300 new", titleBecomes("Kelv SysLog monitor - paused, 300 new"));
    EXPECT_FALSE(window.Messages().Find(records::TextMatcher("row 600", false), true));
    EXPECT_TRUE(window.Messages().Find(records::TextMatcher("row 498", false), true));
    command(ID_EDIT_SELECT_ALL);
    const std::string copied = window.Messages().SelectedAsCaptureLines().bytes;
    EXPECT_EQ(0u, copied.find("10.1.2.3,row 0\r\n"));
    EXPECT_EQ(505, std::count(copied.begin(), copied.end(), '\n'));

    // The oldest 200 leave the book, and the view; what is on screen stays.
    const std::string top = Message(list, TopRow(list));
    DeliverAll(window, 805, 400, false);
    EXPECT_EQ(300, win::ListView(list).Count());
    EXPECT_EQ("row 205 mark", Message(list, 0));
    EXPECT_EQ("row 504", Message(list, 299));
    EXPECT_EQ(top, Message(list, TopRow(list)));
    EXPECT_EQ("Kelv SysLog monitor - paused, 700 new", titleBecomes("Kelv SysLog monitor - paused, 700 new"));

    // Every tenth row holds "mark": 30 of them came before the pause and are still held, 70 after, the first
    // of them the first row after the pause.
    records::RowFilter marked;
    marked.showText = "mark";
    window.ApplyFilter(marked);
    EXPECT_EQ(30, win::ListView(list).Count());
    EXPECT_EQ("row 205 mark", Message(list, 0));
    EXPECT_EQ("row 495 mark", Message(list, 29));
    EXPECT_EQ("Kelv SysLog monitor - 100 of 1,000 rows shown - paused, 70 new", Title(main.Handle()));
    DeliverAll(window, 1205, 10, true);
    EXPECT_EQ(29, win::ListView(list).Count()) << "row 205 left";
    EXPECT_EQ("row 215 mark", Message(list, 0));
    EXPECT_EQ("Kelv SysLog monitor - 100 of 1,000 rows shown - paused, 71 new",
              titleBecomes("Kelv SysLog monitor - 100 of 1,000 rows shown - paused, 71 new"));
    window.ApplyFilter(records::RowFilter());
    EXPECT_EQ(290, win::ListView(list).Count());
    EXPECT_EQ("Kelv SysLog monitor - paused, 710 new", Title(main.Handle()));

    // Every row shown leaves, and rows that came since the pause too.
    DeliverAll(window, 1215, 400, false);
    EXPECT_EQ(0, win::ListView(list).Count());
    EXPECT_EQ("Kelv SysLog monitor - paused, 1,000 new", titleBecomes("Kelv SysLog monitor - paused, 1,000 new"));

    command(ID_VIEW_PAUSE);
    EXPECT_FALSE(PauseChecked(main.Handle()));
    EXPECT_EQ("Kelv SysLog monitor", Title(main.Handle()));
    EXPECT_EQ(1000, win::ListView(list).Count());
    EXPECT_EQ("row 615 mark", Message(list, 0));
    EXPECT_EQ("row 1614", Message(list, 999));
    EXPECT_EQ(1000 - perPage, TopRow(list)) << "auto-scroll shows the newest";
    DeliverAll(window, 1615, 5, true);
    EXPECT_EQ("row 1619", Message(list, 999));
    EXPECT_EQ(1000 - perPage, TopRow(list));
}

}  // namespace
