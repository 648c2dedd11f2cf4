// CaptureFileTest.cpp: what reaches the Capture file, byte for byte, and how the file is held.
#include <gtest/gtest.h>


#include <string>

#include "diag/DiagnosticText.h"
#include "list/MessageList.h"
#include "res/resource.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

// The Capture file a run writes, in a folder of its own.
struct CaptureRun {
    explicit CaptureRun(int toDisplay = 1) : main(SettingsIni(0, toDisplay, 1, path)) {}

    HWND List() { return main.Window().MessageList(); }
    std::string Pane() { return PaneText(main.Window().DiagnosticsPane()); }
    // Closes the window, which closes the file, and reads what the file holds.
    std::string BytesAfterClose() {
        main.Close();
        return ReadFileBytes(path);
    }

    TempFolder files;
    std::wstring path = files.File(L"capture.csv");
    RunningMainWindow main;
};

TEST(CaptureFile, MessageIsQuotedExactlyWhenItHoldsACommaAndNothingIsEscaped) {
    CaptureRun run;
    ASSERT_TRUE(run.main.Window().CaptureFileOpen());
    PostRecord(run.main.Window(), "no comma here");
    PostRecord(run.main.Window(), "a,b,,c");
    PostRecord(run.main.Window(), "say \"hi\" twice");
    PostRecord(run.main.Window(), "say \"hi\", then go");
    PostRecord(run.main.Window(), "", "192.168.1.20");
    HandlePostedMessages();

    const std::string expected = "10.1.2.3,no comma here\r\n"
                                 "10.1.2.3,\"a,b,,c\"\r\n"
                                 "10.1.2.3,say \"hi\" twice\r\n"
                                 "10.1.2.3,\"say \"hi\", then go\"\r\n"
                                 "192.168.1.20,\r\n";
    // On the disk as soon as the queue has run dry, not only once the file closes.
    EXPECT_EQ(expected, ReadFileBytes(run.path));
    EXPECT_EQ(expected, run.BytesAfterClose());
}

TEST(CaptureFile, InnerLineFeedBecomesCrLfWhileCrAndHighBytesStayAsTheyAre) {
    CaptureRun run;
    PostRecord(run.main.Window(), "first\nsecond");
    PostRecord(run.main.Window(), "carriage\rreturn");
    PostRecord(run.main.Window(), "caf\xE9 \x80\xFF");
    HandlePostedMessages();

    EXPECT_EQ("10.1.2.3,first\r\nsecond\r\n"
              "10.1.2.3,carriage\rreturn\r\n"
              "10.1.2.3,caf\xE9 \x80\xFF\r\n",
              run.BytesAfterClose());
}

// Copy puts the selected rows on the clipboard as Capture lines, byte for byte as the file has them;
// with no row selected it leaves the clipboard alone. One test: tests side by side share the clipboard.
TEST(CaptureFile, CopiedRowsAreTheirCaptureLinesInListOrderAndNoSelectionCopiesNothing) {
    CaptureRun run;
    const char* const messages[] = {"skipped", "a,b", "say \"hi\", then go", "not copied", "caf\xE9 \x80\xFF",
                                    "first\nsecond", "say \"hi\""};
    for (const char* message : messages) PostRecord(run.main.Window(), message);
    PostRecord(run.main.Window(), "from another sender", "192.168.100.200");
    HandlePostedMessages();
    const HWND list = run.List();
    ASSERT_TRUE(SetClipboardText(run.main.Handle(), "marker"));
    SetFocus(list);
    SendMessageA(run.main.Handle(), WM_COMMAND, ID_EDIT_COPY, 0);
    EXPECT_EQ("marker", ClipboardText(run.main.Handle()));

    LVITEMA selected{};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    // Selected from the bottom up: the clipboard still has them in list order.
    for (const int row : {7, 6, 5, 4, 2, 1}) SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(0, SendMessageA(run.main.Handle(), WM_COMMAND, ID_EDIT_COPY, 0));
    const std::string copied = ClipboardText(run.main.Handle());
    EXPECT_EQ("10.1.2.3,\"a,b\"\r\n"
              "10.1.2.3,\"say \"hi\", then go\"\r\n"
              "10.1.2.3,caf\xE9 \x80\xFF\r\n"
              "10.1.2.3,first\r\nsecond\r\n"
              "10.1.2.3,say \"hi\"\r\n"
              "192.168.100.200,from another sender\r\n",
              copied);
}

TEST(CaptureFile, FolderThatDoesNotExistIsReportedAndRecordsAreStillShown) {
    TempFolder files;
    const std::wstring path = files.File(L"missing\\capture.csv");
    RunningMainWindow main(SettingsIni(0, 1, 1, path));
    const std::string name(path.begin(), path.end());
    const StatusCode pathNotFound = static_cast<StatusCode>(0x80070003);

    EXPECT_FALSE(main.Window().CaptureFileOpen());
    ExpectDiagnosticWithCode(PaneText(main.Window().DiagnosticsPane()),
                             "Cannot open file " + name + "\n\r\n[0x80070003] ", pathNotFound);
    PostRecord(main.Window(), "shown all the same");
    HandlePostedMessages();
    EXPECT_EQ("shown all the same", RowMessage(main.Window(), 0));
}

TEST(CaptureFile, EmptyFileNameIsReportedWithAnEmptyName) {
    RunningMainWindow main(SettingsIni(0, 1, 1, L""));
    const std::string pane = PaneText(main.Window().DiagnosticsPane());

    EXPECT_FALSE(main.Window().CaptureFileOpen());
    EXPECT_EQ(0u, pane.find("Cannot open file \n\r\n[0x8")) << pane;
    EXPECT_NE(std::string::npos, pane.find("] ", 20)) << pane;
    PostRecord(main.Window(), "shown all the same");
    HandlePostedMessages();
    EXPECT_EQ(1, win::ListView(main.Window().MessageList()).Count());
}

// The Linux device that refuses every write with "disk full", as Wine shows it.
const wchar_t kAlwaysFullDevice[] = L"Z:\\dev\\full";

TEST(CaptureFile, WriteFailureIsReportedOnceAndClosesTheFileWhileRowsGoOn) {
    if (!ReadableByOthers(kAlwaysFullDevice)) GTEST_SKIP() << "no /dev/full here";
    const long textsBefore = diag::DiagnosticTextsAlive();
    RunningMainWindow main(SettingsIni(0, 1, 1, kAlwaysFullDevice));
    ASSERT_TRUE(main.Window().CaptureFileOpen()) << PaneText(main.Window().DiagnosticsPane());
    const std::string line(1000, 'x');  // enough of them to make the stream write out its buffer

    for (int i = 0; i < 40; ++i) PostRecord(main.Window(), line);
    HandlePostedMessages();
    EXPECT_FALSE(main.Window().CaptureFileOpen());
    const std::string pane = PaneText(main.Window().DiagnosticsPane());
    const StatusCode diskFull = static_cast<StatusCode>(0x80070070);
    ExpectDiagnosticWithCode(pane, "Failed to write in file\n\r\n[0x80070070] ", diskFull);

    for (int i = 0; i < 40; ++i) PostRecord(main.Window(), line);
    HandlePostedMessages();
    EXPECT_EQ(80, win::ListView(main.Window().MessageList()).Count());
    EXPECT_EQ(pane, PaneText(main.Window().DiagnosticsPane()));
    main.Close();
    EXPECT_EQ(textsBefore, diag::DiagnosticTextsAlive());
}

}  // namespace
