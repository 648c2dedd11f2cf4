// MessageListTest.cpp: the texts the list shows, the rows its store keeps, and what it gives back.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "diag/DiagnosticReporter.h"
#include "list/MessageList.h"
#include "list/RowDrawing.h"
#include "records/SyslogPriority.h"
#include "res/resource.h"
#include "tests/list/RecordFeed.h"
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
    EXPECT_EQ(longMessage, RowMessage(main.Window(), 0));
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

// Asks the Main window for a cell's text as the list would, wide, with a
// buffer of the given size inside one full of a marker.
std::wstring AskForCell(HWND mainWindow, HWND list, int row, int column, int capacity, LRESULT& answer) {
    wchar_t buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), L'@');
    NMLVDISPINFOW request{};
    request.hdr.hwndFrom = list;
    request.hdr.idFrom = IDC_MESSAGE_LIST;
    request.hdr.code = LVN_GETDISPINFOW;
    request.item.mask = LVIF_TEXT;
    request.item.iItem = row;
    request.item.iSubItem = column;
    request.item.pszText = buffer;
    request.item.cchTextMax = capacity;
    answer = SendMessageA(mainWindow, WM_NOTIFY, IDC_MESSAGE_LIST, reinterpret_cast<LPARAM>(&request));
    return std::wstring(buffer, sizeof buffer / sizeof buffer[0]);
}

TEST(MessageList, RequestsAreCutToTheBufferAndLeftAloneOutsideTheRowsAndColumns) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    PostRecord(main.Window(), "details");
    PostRecord(main.Window(), "\xE2\x82\xAC\xF0\x9F\x98\x80!");  // a euro sign and a character of two halves
    HandlePostedMessages();
    struct Request {
        int row, column, capacity;
        std::wstring written;
    };
    const Request requests[] = {
        {0, 1, 32, std::wstring(L"details\0", 8)},
        {0, 1, 4, std::wstring(L"det\0", 4)},
        {0, 0, 5, std::wstring(L"10.1\0", 5)},
        {0, 1, 1, std::wstring(1, L'\0')},
        {0, 1, 0, L""},
        {1, 1, 32, std::wstring(L"\u20AC\U0001F600!\0", 5)},
        {1, 1, 3, std::wstring(L"\u20AC\0", 2)},  // the pair is not cut in two
        {0, 2, 32, L""},
        {2, 1, 32, L""},
        {-1, 0, 32, L""},
    };
    for (const Request& request : requests) {
        LRESULT answer = -1;
        EXPECT_EQ(request.written + std::wstring(32 - request.written.size(), L'@'),
                  AskForCell(main.Handle(), list, request.row, request.column, request.capacity, answer))
            << "row " << request.row << ", column " << request.column << ", buffer " << request.capacity;
        EXPECT_EQ(0, answer);
    }
}

TEST(MessageList, HeadersAndColumnsOf75And800PixelsAt96DpiScaledOnAnotherDpi) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(2, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("From", ColumnHeader(list, 0));
    EXPECT_EQ("Details", ColumnHeader(list, 1));
    if (win::WindowDpi(list) != win::kDesignDpi) GTEST_SKIP() << "the screen is not at 96 DPI";
    EXPECT_EQ(75, SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(800, SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(3 * GetSystemMetrics(SM_CYEDGE), main.Window().Splitter().Thickness());

    // The widths, the user's own included, follow the window to a screen of twice the DPI and back.
    ListView_SetColumnWidth(list, 0, 100);
    RECT place;
    GetWindowRect(main.Handle(), &place);
    SendMessageA(main.Handle(), WM_DPICHANGED, MAKEWPARAM(2 * win::kDesignDpi, 2 * win::kDesignDpi),
                 reinterpret_cast<LPARAM>(&place));
    EXPECT_EQ(200, ListView_GetColumnWidth(list, 0));
    EXPECT_EQ(1600, ListView_GetColumnWidth(list, 1));
    SendMessageA(main.Handle(), WM_DPICHANGED, MAKEWPARAM(win::kDesignDpi, win::kDesignDpi),
                 reinterpret_cast<LPARAM>(&place));
    EXPECT_EQ(100, ListView_GetColumnWidth(list, 0));
    EXPECT_EQ(800, ListView_GetColumnWidth(list, 1));
}

// The list keeps the focus row where typing would move it.
int FocusedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

TEST(MessageList, TypingJumpsToTheNextRowFromThatSender) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    for (const char* sender : {"10.1.2.3", "192.168.0.1", "172.16.0.5", "10.9.9.9", "172.16.0.6"})
        PostRecord(main.Window(), std::string("from ") + sender, sender);
    HandlePostedMessages();

    SendMessageA(list, WM_CHAR, '1', 1);  // a repeat count of 1, as a key press gives
    SendMessageA(list, WM_CHAR, '7', 1);
    EXPECT_EQ(2, FocusedRow(list));
    EXPECT_EQ(2, static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));

    // The search as the list asks it: a whole text, from a row on, wrapping round.
    NMLVFINDITEMW find{};
    find.hdr.hwndFrom = list;
    find.hdr.idFrom = IDC_MESSAGE_LIST;
    find.hdr.code = LVN_ODFINDITEMW;
    find.lvfi.flags = LVFI_STRING | LVFI_WRAP;
    find.lvfi.psz = L"10.1.2.3";
    find.iStart = 2;
    EXPECT_EQ(0, SendMessageA(main.Handle(), WM_NOTIFY, IDC_MESSAGE_LIST, reinterpret_cast<LPARAM>(&find)));
    find.lvfi.flags = LVFI_STRING;
    EXPECT_EQ(-1, SendMessageA(main.Handle(), WM_NOTIFY, IDC_MESSAGE_LIST, reinterpret_cast<LPARAM>(&find)));
    find.lvfi.psz = L"172.16.0";
    EXPECT_EQ(-1, SendMessageA(main.Handle(), WM_NOTIFY, IDC_MESSAGE_LIST, reinterpret_cast<LPARAM>(&find)))
        << "a whole text is not a start";
    find.lvfi.flags = LVFI_PARTIAL;
    find.iStart = 3;
    EXPECT_EQ(4, SendMessageA(main.Handle(), WM_NOTIFY, IDC_MESSAGE_LIST, reinterpret_cast<LPARAM>(&find)));
}

// The list as it paints itself, through its custom-draw notices, on a bitmap.
class PrintedList {
public:
    explicit PrintedList(HWND list) : list_(list), screen_(GetDC(list)), canvas_(CreateCompatibleDC(screen_)) {
        GetClientRect(list, &client_);
        bitmap_ = CreateCompatibleBitmap(screen_, client_.right, client_.bottom);
        previous_ = SelectObject(canvas_, bitmap_);
        SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas_), PRF_CLIENT | PRF_ERASEBKGND);
    }
    ~PrintedList() {
        SelectObject(canvas_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(canvas_);
        ReleaseDC(list_, screen_);
    }
    PrintedList(const PrintedList&) = delete;
    PrintedList& operator=(const PrintedList&) = delete;

    // A point of the row right of its texts.
    COLORREF Background(int row) const {
        const RECT bounds = Bounds(row);
        return GetPixel(canvas_, std::min<LONG>(client_.right, bounds.right) - 8, (bounds.top + bounds.bottom) / 2);
    }
    // Whether any pixel of the row is in the colour.
    bool Holds(int row, COLORREF colour) const {
        const RECT bounds = Bounds(row);
        for (LONG y = bounds.top; y < bounds.bottom; ++y)
            for (LONG x = bounds.left; x < std::min<LONG>(client_.right, bounds.right); ++x)
                if (GetPixel(canvas_, x, y) == colour) return true;
        return false;
    }
    // The colour of a bar down the row's left end, or CLR_NONE: the letters
    // beside it reach neither its top nor its bottom, and the margin left of
    // them is in the window's colour.
    COLORREF Mark(int row) const {
        const RECT bounds = Bounds(row);
        const COLORREF background = Background(row);
        for (LONG x = bounds.left; x < bounds.left + 8; ++x) {
            const COLORREF top = GetPixel(canvas_, x, bounds.top + 2);
            if (top != background && top != GetSysColor(COLOR_WINDOW) &&
                top == GetPixel(canvas_, x, (bounds.top + bounds.bottom) / 2) &&
                top == GetPixel(canvas_, x, bounds.bottom - 3))
                return top;
        }
        return CLR_NONE;
    }

    // The pixels of a part of the list, row by row.
    std::vector<COLORREF> Block(const RECT& part) const {
        std::vector<COLORREF> pixels;
        for (LONG y = part.top; y < part.bottom; ++y)
            for (LONG x = part.left; x < part.right; ++x) pixels.push_back(GetPixel(canvas_, x, y));
        return pixels;
    }

    // Whether two rows paint the same pixels in the column.
    bool SameCell(int row, int otherRow, int column) const {
        RECT cell, other;
        ListView_GetSubItemRect(list_, row, column, LVIR_BOUNDS, &cell);
        ListView_GetSubItemRect(list_, otherRow, column, LVIR_BOUNDS, &other);
        for (LONG y = 0; y < cell.bottom - cell.top; ++y)
            for (LONG x = 0; x < std::min<LONG>(client_.right, cell.right) - cell.left; ++x)
                if (GetPixel(canvas_, cell.left + x, cell.top + y) != GetPixel(canvas_, other.left + x, other.top + y))
                    return false;
        return true;
    }

private:
    RECT Bounds(int row) const {
        RECT bounds;
        ListView_GetItemRect(list_, row, &bounds, LVIR_BOUNDS);
        return bounds;
    }

    HWND list_;
    HDC screen_;
    HDC canvas_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    RECT client_;
};

// The list with From and Details alone, which draws its rows itself, and with
// a column more, whose rows the program paints.
void ShowAColumnMore(RunningMainWindow& main) {
    SendMessageA(main.Handle(), WM_COMMAND, ID_COLUMN_SEVERITY, 0);
}

// Whatever the facility: emergency to critical white on dark red, error in
// red letters, warning in dark orange, the rest and rows without a priority as
// always, whether the list draws its rows or, with a column more, the program
// paints them; with Colour by severity off, every row as always. A selected
// row shows whole while the list has no focus.
TEST(SeverityColours, TheListPaintsEachRowInItsSeveritysColoursWhileTheyAreOn) {
    RunningMainWindow main(SettingsIni(0, 1, 0, L""));  // no scrolling: the rows are printed where they stand
    const HWND list = main.Window().MessageList();
    const COLORREF white = RGB(255, 255, 255), red = RGB(210, 0, 0), darkOrange = RGB(200, 95, 0);
    const COLORREF darkRed = RGB(139, 0, 0), window = GetSysColor(COLOR_WINDOW);
    const struct {
        const char* message;
        COLORREF background, letters;
    } rows[] = {
        {"<0>emergency", darkRed, white},   {"<9>alert", darkRed, white},  {"<186>critical", darkRed, white},
        {"<3>error", window, red},          {"<11>error", window, red},    {"<188>warning", window, darkOrange},
        {"<5>notice", window, CLR_NONE},    {"<191>debug", window, CLR_NONE}, {"no priority", window, CLR_NONE},
    };
    for (const auto& row : rows) PostRecord(main.Window(), row.message);
    HandlePostedMessages();
    ASSERT_EQ(9, win::ListView(list).Count());
    for (const bool columnMore : {false, true}) {
        SCOPED_TRACE(columnMore ? "a column more" : "From and Details");
        if (columnMore) ShowAColumnMore(main);
        const PrintedList printed(list);
        for (int row = 0; row < 9; ++row) {
            SCOPED_TRACE(rows[row].message);
            EXPECT_EQ(rows[row].background, printed.Background(row));
            if (rows[row].letters == white) {
                EXPECT_TRUE(printed.Holds(row, white));
            }
            for (const COLORREF letters : {red, darkOrange})
                EXPECT_EQ(letters == rows[row].letters, printed.Holds(row, letters));
        }
    }
    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_COLOURS, 0);
    ListView_SetItemState(list, 6, LVIS_SELECTED, LVIS_SELECTED);
    SetFocus(main.Window().DiagnosticsPane());
    const PrintedList printed(list);
    for (int row = 0; row < 9; ++row) {
        SCOPED_TRACE(rows[row].message);
        if (row != 6) {
            EXPECT_EQ(window, printed.Background(row));
        }
        for (const COLORREF letters : {darkRed, red, darkOrange}) EXPECT_FALSE(printed.Holds(row, letters));
    }
    EXPECT_NE(window, printed.Background(6)) << "the selection, out to the Details column";
}

// The part of a row's cell left of its grid line: its From text (the row's
// label, whose bounds are the whole row's) or another column's.
RECT CellFace(HWND list, int row, int column) {
    RECT cell;
    ListView_GetSubItemRect(list, row, column, LVIR_BOUNDS, &cell);
    if (column == 0) cell.right = cell.left + ListView_GetColumnWidth(list, 0);
    cell.right -= 2;
    cell.bottom -= 1;
    return cell;
}

// With a column more the program paints the rows: each looks as the list
// draws it, to the pixel: its texts' places, font and colours, and a text cut
// with an ellipsis where its column is too narrow for it.
TEST(MessageList, RowsPaintedWithAColumnMoreLookAsTheListDrawsThem) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    for (const char* message : {"<13>a notice, as always", "<2>critical: white on dark red", "<3>an error in red",
                                "selected, without the focus, and too long for its column"})
        PostRecord(main.Window(), message);
    HandlePostedMessages();
    ListView_SetItemState(list, 3, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetColumnWidth(list, 1, 180);
    std::vector<std::vector<COLORREF>> drawn;
    for (const bool columnMore : {false, true}) {
        if (columnMore) ShowAColumnMore(main);
        const PrintedList printed(list);
        for (int row = 0; row < 4; ++row)
            for (const int column : {0, 1}) {
                RECT face = CellFace(list, row, column);
                face.right = std::min(face.right, face.left + 300);  // Details is narrower with a column more
                drawn.push_back(printed.Block(face));
            }
    }
    const size_t cells = drawn.size() / 2;
    for (size_t cell = 0; cell < cells; ++cell)
        EXPECT_TRUE(drawn[cell] == drawn[cells + cell]) << "row " << cell / 2 << ", column " << cell % 2;
}

// A message is shown as its sender wrote it: valid UTF-8 with a byte above
// 0x7F decoded, its byte order mark left out; any other in the code page, as
// always; a tab as a space. Each is read as the control gives it to a wide
// reader and to an 8-bit one (the probe), and painted exactly as the same
// text sent in the code page paints.
TEST(MessageList, EachMessageIsShownAsItsSenderWroteIt) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    struct Shown {
        std::string bytes;
        std::wstring text;
        std::string inTheCodePage;
    };
    const Shown rows[] = {
        {"Z\xC3\xBCrich \xE2\x80\x94 \xE2\x82\xAC" "12,50", L"Z\u00FCrich \u2014 \u20AC" "12,50",
         "Z\xFCrich \x97 \x80" "12,50"},
        {"caf\xE9 \xB0" "C \xC3", L"caf\u00E9 \u00B0" "C \u00C3", "caf\xE9 \xB0" "C \xC3"},
        {"1 2003-10-11T22:14:15.003Z web01 app - ID47 - \xEF\xBB\xBFZ\xC3\xBCrich",
         L"1 2003-10-11T22:14:15.003Z web01 app - ID47 - Z\u00FCrich",
         "1 2003-10-11T22:14:15.003Z web01 app - ID47 - Z\xFCrich"},
        {"tab\there", L"tab here", "tab here"},
    };
    for (const Shown& row : rows) {
        PostRecord(main.Window(), row.bytes);
        PostRecord(main.Window(), row.inTheCodePage);
    }
    HandlePostedMessages();
    for (const bool columnMore : {false, true}) {
        if (columnMore) ShowAColumnMore(main);
        const PrintedList printed(list);
        for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
            SCOPED_TRACE(rows[i].inTheCodePage + (columnMore ? ", a column more" : ""));
            EXPECT_EQ(rows[i].text, WideCellText(list, 2 * i, 1));
            EXPECT_EQ(rows[i].text, WideCellText(list, 2 * i + 1, 1));
            EXPECT_EQ(rows[i].inTheCodePage, testing_support::CellText(list, 2 * i, 1));
            EXPECT_TRUE(printed.SameCell(2 * i, 2 * i + 1, 1));
            EXPECT_EQ(rows[i].bytes, RowMessage(main.Window(), 2 * i)) << "kept as received";
        }
    }
}

records::CountedRule Rule(const char* showText, COLORREF text, COLORREF background, bool mark) {
    records::CountedRule counted;
    counted.rule.name = showText;
    counted.rule.conditions.showText = showText;
    counted.rule.textColour = text;
    counted.rule.backgroundColour = background;
    counted.rule.mark = mark;
    return counted;
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// A row takes the colours of the first rule it matches, before its severity's;
// a rule that marks draws a bar at the row's left, and F2 and Shift+F2 go from
// one marked row to the next among the rows shown, without wrapping round.
TEST(WatchRules, RowsTakeTheFirstMatchingRulesColoursAndMarkedRowsAreReachedWithF2) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    const COLORREF blue = RGB(0, 0, 160);
    const COLORREF green = RGB(0, 160, 0);
    const COLORREF yellow = RGB(255, 255, 0);
    const COLORREF pink = RGB(255, 200, 200);
    std::vector<records::CountedRule> rules;
    rules.push_back(Rule("link", pink, blue, true));
    rules.push_back(Rule("down", yellow, green, true));  // never first where "link" matches too
    rules.push_back(Rule("notice", records::kListColour, green, false));
    main.Window().SetWatchRules(std::move(rules));
    for (const char* message : {"<2>critical", "<3>link down", "<5>notice", "<3>port down", "<6>link up"})
        PostRecord(main.Window(), message);
    HandlePostedMessages();
    ASSERT_EQ(5, win::ListView(list).Count());
    EXPECT_EQ(2u, main.Window().Book().Rules().Rules()[1].matches) << "every matching rule counts";
    // A copy edited meanwhile, as in the dialog, keeps the matches made since it was taken.
    std::vector<records::CountedRule> edited = main.Window().Book().Rules().Rules();
    PostRecord(main.Window(), "<5>notice again");
    HandlePostedMessages();
    edited[2].rule.backgroundColour = blue;
    main.Window().SetWatchRules(edited);
    EXPECT_EQ(2u, main.Window().Book().Rules().Rules()[2].matches);
    edited[2].rule.backgroundColour = green;
    main.Window().SetWatchRules(edited);

    {
        const PrintedList printed(list);
        EXPECT_EQ(RGB(139, 0, 0), printed.Background(0));
        EXPECT_EQ(CLR_NONE, printed.Mark(0));
        EXPECT_EQ(blue, printed.Background(1)) << "the rule, not the error's red letters";
        EXPECT_FALSE(printed.Holds(1, RGB(210, 0, 0)));
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), printed.Mark(1));
        EXPECT_EQ(green, printed.Background(2));
        EXPECT_EQ(CLR_NONE, printed.Mark(2)) << "a rule that does not mark";
        EXPECT_EQ(green, printed.Background(3));
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), printed.Mark(3)) << "the second rule's mark";
    }
    // Colour by severity off leaves the rules' colours and marks.
    SendMessageA(main.Window().Handle(), WM_COMMAND, ID_VIEW_COLOURS, 0);
    {
        const PrintedList printed(list);
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), printed.Background(0));
        EXPECT_EQ(blue, printed.Background(1));
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), printed.Mark(1));
    }

    const auto press = [&](WORD command) {
        SendMessageA(main.Window().Handle(), WM_COMMAND, command, 0);
        return SelectedRow(list);
    };
    EXPECT_EQ(1, press(ID_NEXT_MARKED_ROW));
    EXPECT_EQ(3, press(ID_NEXT_MARKED_ROW));
    EXPECT_EQ(4, press(ID_NEXT_MARKED_ROW));
    EXPECT_EQ(4, press(ID_NEXT_MARKED_ROW)) << "no wrapping round";
    EXPECT_EQ(3, press(ID_PREVIOUS_MARKED_ROW));

    records::RowFilter hideLinkDown;
    hideLinkDown.hideText = "link down";
    main.Window().ApplyFilter(hideLinkDown);
    ASSERT_EQ(5, win::ListView(list).Count());
    EXPECT_EQ(2, press(ID_NEXT_MARKED_ROW)) << "port down, among the rows shown";
    EXPECT_EQ(2, press(ID_PREVIOUS_MARKED_ROW)) << "link down is hidden: none above";

    {
        ShowAColumnMore(main);
        const PrintedList printed(list);
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), printed.Background(0)) << "painted with a column more, colours off";
        EXPECT_EQ(CLR_NONE, printed.Mark(0));
        EXPECT_EQ(green, printed.Background(1));
        EXPECT_EQ(CLR_NONE, printed.Mark(1));
        EXPECT_EQ(blue, printed.Background(3));
        EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), printed.Mark(3));
    }

    main.Window().SetWatchRules({});
    const PrintedList printed(list);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), printed.Background(1)) << "the notice, once no rule is left";
}

// A rule on an app colours the rows whose header names that app, in either
// form, and no row that only mentions it.
TEST(WatchRules, ARuleOnAnAppColoursThatAppsRowsAlone) {
    RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    const COLORREF blue = RGB(0, 0, 160);
    records::CountedRule sshd = Rule("", RGB(255, 255, 0), blue, false);
    sshd.rule.name = "sshd logins";
    sshd.rule.conditions.apps = {"sshd"};
    main.Window().SetWatchRules({sshd});
    for (const char* message : {"<13>Dec  8 10:01:02 fw1 sshd[12]: login", "<13>Dec  8 10:01:02 fw1 cron[3]: sshd: job",
                                "<13>1 2026-12-08T10:01:03Z fw2 sshd - - - login", "sshd: without a priority, no header"})
        PostRecord(main.Window(), message, "10.0.0.9");
    HandlePostedMessages();
    ASSERT_EQ(4, win::ListView(list).Count());
    EXPECT_EQ(2u, main.Window().Book().Rules().Rules()[0].matches);
    const PrintedList printed(list);
    EXPECT_EQ(blue, printed.Background(0));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), printed.Background(1)) << "cron's row mentions sshd";
    EXPECT_EQ(blue, printed.Background(2));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), printed.Background(3));
}

}  // namespace
