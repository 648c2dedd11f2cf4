// MessageListTest.cpp: the texts the list shows, and the records its rows hold and release.
#include <gtest/gtest.h>

#include <string>

#include "log/MessageList.h"
#include "res/resource.h"
#include "tests/log/RecordFeed.h"
#include "tests/support/TestSupport.h"
#include "win/Dpi.h"

namespace {

using namespace testing_support;

// A cell's text as the list gives it to whoever asks with a buffer of that size.
std::string CellText(HWND list, int row, int column, int bufferSize) {
    std::string buffer(static_cast<size_t>(bufferSize) + 8, '#');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = &buffer[0];
    item.cchTextMax = bufferSize;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ('#', buffer[static_cast<size_t>(bufferSize)]) << "written past the buffer";
    return buffer.substr(0, buffer.find('\0'));
}

TEST(MessageList, LongMessageIsShownCutToTheOfferedBufferAndKeptWhole) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    std::string longMessage;
    for (int i = 0; longMessage.size() < 1000; ++i) longMessage += std::to_string(i % 10);
    PostRecord(main.Window(), longMessage);
    HandlePostedMessages();

    EXPECT_EQ(longMessage.substr(0, 15), CellText(list, 0, 1, 16));
    EXPECT_EQ("10.1.2", CellText(list, 0, 0, 7));
    EXPECT_EQ(longMessage, RowMessage(list, 0));
}

TEST(MessageList, PercentSignsAndBackslashesAreShownAsReceived) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    const std::string odd = "100% done: %s %n %x \\\\server\\share\\%d \"q\", 'a';";
    PostRecord(main.Window(), odd, "172.16.254.1");
    HandlePostedMessages();

    EXPECT_EQ("172.16.254.1", CellText(list, 0, 0, 260));
    EXPECT_EQ(odd, CellText(list, 0, 1, 260));
}

// Asks the Main window for a cell's text as the list would, with a buffer full of a marker.
std::string AskForCell(HWND mainWindow, HWND list, int column, LRESULT& answer) {
    char buffer[32];
    memset(buffer, '@', sizeof buffer);
    NMLVDISPINFOA request{};
    request.hdr.hwndFrom = list;
    request.hdr.idFrom = messagelog::kMessageListId;
    request.hdr.code = LVN_GETDISPINFOA;
    request.item.mask = LVIF_TEXT;
    request.item.iSubItem = column;
    request.item.pszText = buffer;
    request.item.cchTextMax = sizeof buffer;
    request.item.lParam = reinterpret_cast<LPARAM>(messagelog::RecordAtRow(list, 0));
    answer = SendMessageA(mainWindow, WM_NOTIFY, messagelog::kMessageListId, reinterpret_cast<LPARAM>(&request));
    return std::string(buffer, sizeof buffer);
}

TEST(MessageList, RequestsForColumnsOtherThanTheTwoAreLeftAlone) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    PostRecord(main.Window(), "details");
    HandlePostedMessages();
    LRESULT answer = -1;

    EXPECT_EQ(std::string(32, '@'), AskForCell(main.Handle(), list, 2, answer));
    EXPECT_EQ(0, answer);
    EXPECT_EQ(std::string("details\0", 8) + std::string(24, '@'), AskForCell(main.Handle(), list, 1, answer));
    EXPECT_EQ(0, answer);
}

TEST(MessageList, ColumnsAre75And800PixelsWideAt96Dpi) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    if (win::WindowDpi(list) != win::kDesignDpi) GTEST_SKIP() << "the screen is not at 96 DPI";
    EXPECT_EQ(75, SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(800, SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(3 * GetSystemMetrics(SM_CYEDGE), main.Window().Splitter().Thickness());
}

TEST(MessageList, ClearReleasesEveryRowsRecordAndEmptiesThePane) {
    const long recordsBefore = net::SyslogRecordsAlive();
    RunningMainWindow main;
    for (int i = 0; i < 25; ++i) PostRecord(main.Window(), "row " + std::to_string(i));
    HandlePostedMessages();
    ASSERT_EQ(25, messagelog::RowCount(main.Window().MessageList()));
    ASSERT_EQ(recordsBefore + 25, net::SyslogRecordsAlive());

    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_CLEAR, 0);
    EXPECT_EQ(0, messagelog::RowCount(main.Window().MessageList()));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_EQ("", PaneText(main.Window().DiagnosticsPane()));

    PostRecord(main.Window(), "after the clear");
    HandlePostedMessages();
    EXPECT_EQ("after the clear", RowMessage(main.Window().MessageList(), 0));
}

TEST(MessageList, ClosingTheWindowReleasesEveryRowsRecord) {
    const long recordsBefore = net::SyslogRecordsAlive();
    RunningMainWindow main;
    for (int i = 0; i < 25; ++i) PostRecord(main.Window(), "row " + std::to_string(i));
    HandlePostedMessages();
    ASSERT_EQ(recordsBefore + 25, net::SyslogRecordsAlive());

    main.Close();
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

}  // namespace
