// RecordViewTest.cpp: a double click on a row shows its record whole; anywhere else nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <utility>

#include "list/MessageList.h"
#include "net/SyslogRecord.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogDriver.h"

namespace {

using dialog_driver::ModalScript;

const wchar_t kViewTitle[] = L"Record";

// Printable bytes of every kind, commas and quotes included, so nothing is lost or interpreted.
std::string LongMessage(size_t length) {
    std::string text;
    for (size_t i = 0; text.size() < length; ++i) text += static_cast<char>('!' + i % 94);
    return text;
}

POINT RowCentre(HWND list, int row) {
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
}

POINT BelowTheLastRow(HWND list) {
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, win::ListView(list).Count() - 1, reinterpret_cast<LPARAM>(&bounds));
    return {bounds.left + 20, bounds.bottom + 3 * (bounds.bottom - bounds.top)};
}

// The list's double click, at a point of its client area. The cursor is put
// there first: the list's handler reads where the cursor is.
void DoubleClick(HWND list, POINT clientPoint) {
    POINT onScreen = clientPoint;
    ClientToScreen(list, &onScreen);
    SetCursorPos(onScreen.x, onScreen.y);
    POINT now{};
    GetCursorPos(&now);
    ASSERT_EQ(onScreen.x, now.x);
    ASSERT_EQ(onScreen.y, now.y);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(clientPoint.x, clientPoint.y));
}

struct SeenView {
    HWND owner = nullptr;
    std::string sender;
    std::wstring message;
    std::string received;
    std::wstring fields;
    LONG messageStyle = 0;
};

ModalScript::Step ReadViewThen(SeenView& seen, void (*close)(HWND)) {
    return [&seen, close] {
        const HWND view = dialog_driver::FindDialog(kViewTitle);
        if (!view) return false;
        seen.owner = GetWindow(view, GW_OWNER);
        seen.sender = dialog_driver::TextA(GetDlgItem(view, IDC_RECORD_SENDER));
        seen.message = dialog_driver::Text(GetDlgItem(view, IDC_RECORD_MESSAGE));
        seen.fields = dialog_driver::Text(GetDlgItem(view, IDC_RECORD_FIELDS));
        seen.received = dialog_driver::TextA(GetDlgItem(view, IDC_RECORD_RECEIVED));
        seen.messageStyle = GetWindowLongW(GetDlgItem(view, IDC_RECORD_MESSAGE), GWL_STYLE);
        close(view);
        return true;
    };
}

void PressOk(HWND view) {
    dialog_driver::PressButton(view, IDOK);
}

TEST(RecordView, ADoubleClickedRowShowsItsWholeRecord) {
    testing_support::RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    const std::string longMessage = LongMessage(4000);
    ASSERT_TRUE(main.SendAndWaitForRows("first", 1));
    ASSERT_TRUE(main.SendAndWaitForRows(longMessage, 2));
    ASSERT_TRUE(main.SendAndWaitForRows("third", 3));
    const long recordsBefore = net::SyslogRecordsAlive();

    SeenView seen;
    ModalScript script({ReadViewThen(seen, PressOk)});
    DoubleClick(list, RowCentre(list, 1));

    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(longMessage.size(), seen.message.size());
    EXPECT_EQ(std::wstring(longMessage.begin(), longMessage.end()), seen.message);
    EXPECT_EQ("127.0.0.1", seen.sender);
    EXPECT_EQ(main.Handle(), seen.owner);
    EXPECT_TRUE(seen.messageStyle & ES_READONLY);
    EXPECT_TRUE(seen.messageStyle & ES_MULTILINE);
    EXPECT_TRUE(seen.messageStyle & WS_VSCROLL);
    // The row is still there, untouched.
    EXPECT_EQ(3, win::ListView(list).Count());
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_EQ(longMessage, testing_support::RowMessage(main.Window(), 1));
}

// A record made at this local time, to the millisecond.
std::uint64_t LocalMoment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds) {
    const SYSTEMTIME local{year, month, 0, day, hour, minute, second, milliseconds};
    SYSTEMTIME universal;
    FILETIME at;
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal);
    SystemTimeToFileTime(&universal, &at);
    return (static_cast<std::uint64_t>(at.dwHighDateTime) << 32) | at.dwLowDateTime;
}

// The message as the list shows it, the header's fields that are there one
// a line below it, and the moment of arrival in local time.
TEST(RecordView, ShowsTheMessageAsTheListDoesTheFieldsOfItsHeaderAndTheLocalTimeOfArrival) {
    testing_support::RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    struct Case {
        std::string message;
        std::wstring shown;
        std::wstring fields;
    };
    const Case cases[] = {
        {"<34>Oct 11 22:14:15 web01 sshd[42]: tab\there, \"quoted\" 100% \\path\r\nsecond line \xE9\xFC",
         L"<34>Oct 11 22:14:15 web01 sshd[42]: tab here, \"quoted\" 100% \\path\r\nsecond line \u00E9\u00FC",
         L"Host: web01\r\nApp: sshd\r\nPID: 42\r\nFacility: auth\r\nSeverity: Critical\r\nTime: Oct 11 22:14:15"},
        {"<165>1 2003-10-11T22:14:15.003Z mymachine.example.com evntslog - ID47 - \xEF\xBB\xBFZ\xC3\xBCrich \xE2\x82\xAC",
         L"<165>1 2003-10-11T22:14:15.003Z mymachine.example.com evntslog - ID47 - Z\u00FCrich \u20AC",
         L"Host: mymachine.example.com\r\nApp: evntslog\r\nFacility: local4\r\nSeverity: Notice\r\n"
         L"Time: 2003-10-11T22:14:15.003Z\r\nMsgID: ID47"},
        {"<13>Oct  8 05:37:27 Z\xC3\xBCrich: Gr\xC3\xBC\xC3\x9F" "e", L"<13>Oct  8 05:37:27 Z\u00FCrich: Gr\u00FC\u00DF" "e",
         L"App: Z\u00FCrich\r\nFacility: user\r\nSeverity: Notice\r\nTime: Oct  8 05:37:27"},
        {"no header at all", L"no header at all", L""},
    };
    for (const Case& c : cases) {
        net::RecordPtr record = testing_support::MakeRecord(c.message, "127.0.0.1");
        ASSERT_TRUE(record);
        record->receivedAt = LocalMoment(2026, 12, 8, 5, 37, 27, 123);
        testing_support::DeliverRecord(main.Window(), std::move(record));
    }
    ASSERT_EQ(static_cast<int>(std::size(cases)), win::ListView(list).Count());

    for (int row = 0; row < static_cast<int>(std::size(cases)); ++row) {
        SCOPED_TRACE(row);
        SeenView seen;
        ModalScript script({ReadViewThen(seen, PressOk)});
        DoubleClick(list, RowCentre(list, row));
        ASSERT_TRUE(script.Finished());
        EXPECT_EQ(cases[row].shown, seen.message);
        EXPECT_EQ(cases[row].fields, seen.fields);
        EXPECT_EQ("Received 2026-12-08 05:37:27.123", seen.received);
    }
}

TEST(RecordView, ADoubleClickOffTheRowsOpensNothing) {
    testing_support::RunningMainWindow main;
    const HWND list = main.Window().MessageList();
    ASSERT_TRUE(main.SendAndWaitForRows("only row", 1));

    // Any view that opened would be read and closed here; none may open.
    SeenView seen;
    ModalScript script({ReadViewThen(seen, PressOk)});
    DoubleClick(list, BelowTheLastRow(list));

    EXPECT_EQ(0u, seen.message.size());
    EXPECT_EQ(nullptr, seen.owner);
    EXPECT_FALSE(script.Finished());
    EXPECT_EQ(1, win::ListView(list).Count());
}

}  // namespace
