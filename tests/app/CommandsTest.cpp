// CommandsTest.cpp: the capture switch, its check mark, Clear, Find, the colours, the menu and the keyboard accelerators.
#include <windows.h>

#include <gtest/gtest.h>

#include <dlgs.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/WindowTitle.h"
#include "app/MessageLoop.h"
#include "diag/DiagnosticReporter.h"
#include "list/MessageList.h"
#include "net/SyslogRecord.h"
#include "res/resource.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogDriver.h"

namespace {

using testing_support::CellText;
using testing_support::ClipboardText;
using testing_support::DeliverBurst;
using testing_support::DesktopLock;
using testing_support::MakeRecord;
using testing_support::PaneText;
using testing_support::PumpUntil;
using testing_support::RunningMainWindow;
using testing_support::SetClipboardText;

constexpr WORD kMenuCode = 0;
constexpr WORD kAcceleratorCode = 1;

// The options these tests start from: no scrolling, rows shown.
std::string SettingsIni(int toFile, const std::wstring& fileName) {
    return testing_support::SettingsIni(0, 1, toFile, fileName);
}

// Hands a record to the Main window as the Receive thread does, and returns
// once it has been handled.
constexpr char kSender[] = "10.0.0.1";

void DeliverRecord(app::MainWindow& mainWindow, const std::string& text, const char* sender = kSender) {
    testing_support::DeliverRecord(mainWindow, testing_support::MakeRecord(text, sender));
}

LRESULT Command(HWND mainWindow, WORD commandId, WORD notificationCode) {
    return SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(commandId, notificationCode), 0);
}

// The key names of every section of an INI file.
std::set<std::string> IniKeys(const std::string& iniPath) {
    std::set<std::string> keys;
    char sections[1024] = {};
    GetPrivateProfileSectionNamesA(sections, sizeof sections, iniPath.c_str());
    for (const char* section = sections; *section; section += std::strlen(section) + 1) {
        char entries[4096] = {};
        GetPrivateProfileSectionA(section, entries, sizeof entries, iniPath.c_str());
        for (const char* entry = entries; *entry; entry += std::strlen(entry) + 1)
            keys.insert(std::string(entry, std::strcspn(entry, "=")));
    }
    return keys;
}

HMENU ViewPopup(HWND mainWindow) {
    return GetSubMenu(GetMenu(mainWindow), 0);
}

// What the View popup shows for Capture when it opens.
bool CaptureChecked(HWND mainWindow) {
    const HMENU view = ViewPopup(mainWindow);
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), MAKELPARAM(0, FALSE));
    return (GetMenuState(view, ID_VIEW_CAPTURE, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Runs the program's own message loop with the given accelerators until the
// condition holds (checked from a timer, which the loop dispatches) or the
// time is up; then ends it with a quit request. Answers whether the condition held.
class LoopRun {
public:
    LoopRun(HACCEL accelerators, std::function<bool()> condition, std::function<void()> eachTick = nullptr)
        : accelerators_(accelerators), condition_(std::move(condition)), eachTick_(std::move(eachTick)) {}

    bool Run(DWORD timeoutMs = 5000) {
        deadline_ = GetTickCount64() + timeoutMs;
        current_ = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, Tick);
        if (!timer) return false;
        app::RunMessageLoop(accelerators_);
        current_ = nullptr;
        return met_;
    }

private:
    static constexpr UINT kTickMs = 10;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        LoopRun* const run = current_;
        if (!run || run->ended_) return;
        if (run->eachTick_) run->eachTick_();
        run->met_ = run->condition_();
        if (!run->met_ && GetTickCount64() < run->deadline_) return;
        run->ended_ = true;
        KillTimer(nullptr, timer);
        if (!run->met_) EndMenu();  // a menu left open would hold the quit back: a failure, not a hang
        PostQuitMessage(0);
    }

    static LoopRun* current_;
    HACCEL accelerators_;
    std::function<bool()> condition_;
    std::function<void()> eachTick_;
    ULONGLONG deadline_ = 0;
    bool met_ = false;
    bool ended_ = false;
};
LoopRun* LoopRun::current_ = nullptr;

// The program's accelerator table, destroyed with the object.
class OwnedAccelerators {
public:
    OwnedAccelerators() : table_(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}
    ~OwnedAccelerators() {
        if (table_) DestroyAcceleratorTable(table_);
    }
    OwnedAccelerators(const OwnedAccelerators&) = delete;
    OwnedAccelerators& operator=(const OwnedAccelerators&) = delete;

    HACCEL Table() const { return table_; }

private:
    HACCEL table_;
};

// Puts the keyboard focus on a child of the Main window, which is made the foreground window.
bool FocusOn(HWND mainWindow, HWND child) {
    SetForegroundWindow(mainWindow);
    SetFocus(child);
    return GetForegroundWindow() == mainWindow && GetFocus() == child;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM seen) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<bool*>(seen) = true;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

// ---- Capture switch and check mark ----------------------------------------

const char kTitleWhileOff[] = "Kelv SysLog monitor - capture off: arriving messages are ignored";
const char kIgnoredNotice[] =
    "Capture is off, so arriving messages are ignored: neither shown nor written. Ctrl+C (View > Capture) turns "
    "capture back on\n";

TEST(CaptureCommand, EveryRunStartsOnAndTheCheckMarkFollowsTheSwitch) {
    DesktopLock lock;
    std::wstring iniPath;
    {
        RunningMainWindow window;
        const HWND main = window.Handle();
        ASSERT_TRUE(main);
        EXPECT_TRUE(window.Window().CaptureOn());
        EXPECT_TRUE(CaptureChecked(main));

        EXPECT_EQ(0, Command(main, ID_VIEW_CAPTURE, kMenuCode));
        EXPECT_FALSE(window.Window().CaptureOn());
        EXPECT_FALSE(CaptureChecked(main));

        EXPECT_EQ(0, Command(main, ID_VIEW_CAPTURE, kAcceleratorCode));
        EXPECT_TRUE(window.Window().CaptureOn());
        EXPECT_TRUE(CaptureChecked(main));

        // The run ends with capture off.
        Command(main, ID_VIEW_CAPTURE, kMenuCode);
        EXPECT_FALSE(CaptureChecked(main));
        window.Close();

        // The switch is not one of the options: the INI file holds the options and nothing else.
        EXPECT_EQ((std::set<std::string>{"Autoscroll", "Colours", "FileName", "KeepRows", "ToDisplay", "ToFile"}),
                  IniKeys(testing_support::Narrow(window.IniPath())));
    }
    RunningMainWindow nextRun;
    EXPECT_TRUE(nextRun.Window().CaptureOn());
    EXPECT_TRUE(CaptureChecked(nextRun.Handle()));
}

TEST(CaptureCommand, OffDropsRecordsUnseenAndUnwrittenAndOnResumesInTheSameFile) {
    DesktopLock lock;
    testing_support::TempFolder captureFolder;
    const std::wstring capturePath = captureFolder.File(L"capture.log");
    const std::string earlier = "earlier line\r\n";
    testing_support::WriteFileBytes(capturePath, earlier);

    RunningMainWindow window(SettingsIni(1, capturePath));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    ASSERT_TRUE(window.Window().CaptureFileOpen());
    const long recordsBefore = net::SyslogRecordsAlive();
    // A file opened again from the options would be this one.
    const std::wstring reopenedPath = captureFolder.File(L"reopened.log");
    wcscpy(window.Window().Settings()->FileName, reopenedPath.c_str());

    ASSERT_TRUE(window.SendAndWaitForRows("before the switch", 1));

    Command(main, ID_VIEW_CAPTURE, kMenuCode);
    ASSERT_FALSE(window.Window().CaptureOn());
    EXPECT_EQ(kTitleWhileOff, dialog_driver::TextA(main));
    EXPECT_EQ("", PaneText(window.Window().DiagnosticsPane()));
    const unsigned long long takenBefore = window.Window().Deliveries().TakenSoFar();
    testing_support::SendDatagram(window.Port(), "while off");
    // Handled by the time the pump looks at its condition again.
    ASSERT_TRUE(PumpUntil([&] { return window.Window().Deliveries().TakenSoFar() == takenBefore + 1; }));
    DeliverRecord(window.Window(), "also while off");
    EXPECT_EQ(1, win::ListView(list).Count());
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());  // the row holds a copy; every record is released
    EXPECT_EQ(kIgnoredNotice, PaneText(window.Window().DiagnosticsPane())) << "told once, for the first";

    EXPECT_FALSE(testing_support::WritableByOthers(capturePath)) << "still open while off: other writers kept out";
    EXPECT_TRUE(window.Window().CaptureFileOpen());

    Command(main, ID_VIEW_CAPTURE, kAcceleratorCode);
    ASSERT_TRUE(window.Window().CaptureOn());
    EXPECT_EQ("Kelv SysLog monitor", dialog_driver::TextA(main));
    ASSERT_TRUE(window.SendAndWaitForRows("after the switch", 2));
    EXPECT_EQ(2, win::ListView(list).Count());
    EXPECT_EQ("before the switch", CellText(list, 0, 1));
    EXPECT_EQ("after the switch", CellText(list, 1, 1));

    // Off again: the first message ignored is told of again, after the filter's counts in the title.
    window.Window().ApplyFilter([] {
        records::RowFilter filter;
        filter.showText = "after";
        return filter;
    }());
    Command(main, ID_VIEW_CAPTURE, kMenuCode);
    EXPECT_EQ("Kelv SysLog monitor - 1 of 2 rows shown - capture off: arriving messages are ignored",
              dialog_driver::TextA(main));
    DeliverRecord(window.Window(), "ignored too");
    EXPECT_EQ(std::string(kIgnoredNotice) + kIgnoredNotice, PaneText(window.Window().DiagnosticsPane()));
    Command(main, ID_VIEW_CAPTURE, kMenuCode);

    window.Close();
    EXPECT_EQ(earlier + "127.0.0.1,before the switch\r\n127.0.0.1,after the switch\r\n",
              testing_support::ReadFileBytes(capturePath));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(reopenedPath.c_str()));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

// ---- Clear ------------------------------------------------------------------

TEST(ClearCommand, EmptiesListAndPaneWhateverTheSwitchAndGivesTheRowsMemoryBack) {
    DesktopLock lock;
    RunningMainWindow window(SettingsIni(0, L""));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    const HWND pane = window.Window().DiagnosticsPane();
    const long recordsBefore = net::SyslogRecordsAlive();

    constexpr int kRows = 500;
    ASSERT_TRUE(
        DeliverBurst(window.Window(), kRows, [](int row) { return MakeRecord("record " + std::to_string(row), kSender); }));
    ASSERT_EQ(recordsBefore, net::SyslogRecordsAlive());  // the rows hold copies
    diag::Report(0, L"a diagnostic\r\n");
    ASSERT_TRUE(PumpUntil([&] { return PaneText(pane) == "a diagnostic\r\n"; }));

    const records::StoredRow first = window.Window().StoredRows().Row(0);
    EXPECT_EQ(0, Command(main, ID_VIEW_CLEAR, kMenuCode));
    EXPECT_EQ(0, win::ListView(list).Count());
    EXPECT_EQ(0u, window.Window().StoredRows().Count());
    EXPECT_EQ(0u, window.Window().StoredRows().BytesHeld());
    MEMORY_BASIC_INFORMATION where{};
    VirtualQuery(first.message, &where, sizeof where);
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), where.State) << "the rows' memory is given back to the system";
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_EQ("", PaneText(pane));

    // The list takes rows again afterwards.
    DeliverRecord(window.Window(), "after clearing", "10.1.2.3");
    EXPECT_EQ(1, win::ListView(list).Count());
    EXPECT_EQ("after clearing", CellText(list, 0, 1));
    EXPECT_EQ("10.1.2.3", CellText(list, 0, 0));

    // Clear does not look at the capture switch; with both empty it still answers 0.
    Command(main, ID_VIEW_CLEAR, kMenuCode);
    Command(main, ID_VIEW_CAPTURE, kMenuCode);
    diag::Report(0, L"only the pane holds text\r\n");
    ASSERT_TRUE(PumpUntil([&] { return !PaneText(pane).empty(); }));
    EXPECT_EQ(0, Command(main, ID_VIEW_CLEAR, kAcceleratorCode));
    EXPECT_EQ("", PaneText(pane));
    EXPECT_EQ(0, Command(main, ID_VIEW_CLEAR, kMenuCode));
    EXPECT_EQ("", PaneText(pane));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

// ---- Accelerators through the program's message loop, from real key presses ----

// A Main window (no scrolling, rows shown) driven by real key presses through
// the program's own loop; nothing else may take the keyboard meanwhile.
class Accelerators : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(accelerators_.Table()); }

    // Runs the program's loop until the condition holds; answers whether it did.
    bool LoopUntil(std::function<bool()> condition, std::function<void()> eachTick = nullptr) {
        return LoopRun(accelerators_.Table(), std::move(condition), std::move(eachTick)).Run();
    }

    // Reports the text into the pane and waits until the pane shows it.
    bool PaneHolds(const wchar_t* text, const std::string& shown) {
        diag::Report(0, text);
        return PumpUntil([&] { return PaneText(pane_) == shown; });
    }

    DesktopLock lock_;
    RunningMainWindow window_{SettingsIni(0, L"")};
    HWND main_ = window_.Handle();
    HWND list_ = window_.Window().MessageList();
    HWND pane_ = window_.Window().DiagnosticsPane();
    OwnedAccelerators accelerators_;
};

// Ctrl+C in the pane is the Capture switch and copies nothing; Ctrl+Insert there copies the pane's selection.
TEST_F(Accelerators, ControlCInTheDiagnosticsPaneTogglesCaptureAndControlInsertCopies) {
    ASSERT_TRUE(PaneHolds(L"selected words\r\n", "selected words\r\n"));
    SendMessageA(pane_, EM_SETSEL, 0, -1);
    ASSERT_TRUE(SetClipboardText(main_, "marker"));
    ASSERT_TRUE(FocusOn(main_, pane_));

    ASSERT_TRUE(testing_support::PressControlChord('C'));
    EXPECT_TRUE(LoopUntil([&] { return !window_.Window().CaptureOn(); }));
    EXPECT_EQ("marker", ClipboardText(main_));
    EXPECT_FALSE(CaptureChecked(main_));

    ASSERT_TRUE(FocusOn(main_, pane_));
    ASSERT_TRUE(testing_support::PressControlChord('C'));
    EXPECT_TRUE(LoopUntil([&] { return window_.Window().CaptureOn(); }));
    EXPECT_EQ("marker", ClipboardText(main_));

    ASSERT_TRUE(FocusOn(main_, pane_));
    ASSERT_TRUE(testing_support::PressControlChord(VK_INSERT));
    EXPECT_TRUE(LoopUntil([&] { return ClipboardText(main_) == "selected words\r\n"; })) << ClipboardText(main_);
    EXPECT_TRUE(window_.Window().CaptureOn());
}

// Ctrl+Insert in the list copies the selected rows as Capture lines: as
// 8-bit text their bytes as received, as Unicode text as the list shows them.
TEST_F(Accelerators, ControlInsertInTheListCopiesTheSelectedRows) {
    DeliverRecord(window_.Window(), "first, with a comma");
    DeliverRecord(window_.Window(), "Z\xC3\xBCrich\t\xE2\x82\xAC" "12");
    DeliverRecord(window_.Window(), "caf\xE9");
    Command(main_, ID_EDIT_SELECT_ALL, kMenuCode);
    ASSERT_TRUE(SetClipboardText(main_, "marker"));

    ASSERT_TRUE(FocusOn(main_, list_));
    ASSERT_TRUE(testing_support::PressControlChord(VK_INSERT));
    const std::string rows =
        "10.0.0.1,\"first, with a comma\"\r\n10.0.0.1,Z\xC3\xBCrich\t\xE2\x82\xAC" "12\r\n10.0.0.1,caf\xE9\r\n";
    EXPECT_TRUE(LoopUntil([&] { return ClipboardText(main_) == rows; })) << ClipboardText(main_);
    EXPECT_EQ(L"10.0.0.1,\"first, with a comma\"\r\n10.0.0.1,Z\u00FCrich \u20AC" L"12\r\n10.0.0.1,caf\u00E9\r\n",
              testing_support::ClipboardUnicodeText(main_));
    EXPECT_TRUE(window_.Window().CaptureOn());
}

TEST_F(Accelerators, ControlRClearsTheListAndThePane) {
    const long recordsBefore = net::SyslogRecordsAlive();
    ASSERT_TRUE(window_.SendAndWaitForRows("first", 1));
    ASSERT_TRUE(window_.SendAndWaitForRows("second", 2));
    ASSERT_TRUE(PaneHolds(L"a diagnostic\r\n", "a diagnostic\r\n"));
    ASSERT_TRUE(FocusOn(main_, list_));

    ASSERT_TRUE(testing_support::PressControlChord('R'));
    EXPECT_TRUE(LoopUntil([&] { return win::ListView(list_).Count() == 0 && PaneText(pane_).empty(); }));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_TRUE(window_.Window().CaptureOn());
}

TEST_F(Accelerators, ControlSOpensTheSaveDialogOverTheMainWindow) {
    ASSERT_TRUE(window_.SendAndWaitForRows("a row", 1));
    ASSERT_TRUE(FocusOn(main_, list_));

    ASSERT_TRUE(testing_support::PressControlChord('S'));
    std::wstring title;
    EXPECT_TRUE(LoopUntil([&] { return !title.empty() && !dialog_driver::FindDialogOwnedBy(main_); },
                          [&] {
                              const HWND save = dialog_driver::FindDialogOwnedBy(main_);
                              if (!save) return;
                              title = dialog_driver::Text(save);
                              dialog_driver::PressButton(save, IDCANCEL);
                          }));
    EXPECT_EQ(L"Save As", title);
    EXPECT_TRUE(window_.Window().CaptureOn());
    EXPECT_EQ(1, win::ListView(list_).Count());
}

TEST_F(Accelerators, ControlODoesNothingWhereverTheFocusIs) {
    ASSERT_TRUE(window_.SendAndWaitForRows("a row", 1));
    ASSERT_TRUE(PaneHolds(L"pane text\r\n", "pane text\r\n"));

    const HWND focusPlaces[] = {pane_, list_, main_};
    bool captureExpected = true;
    for (const HWND focus : focusPlaces) {
        SCOPED_TRACE(focus == pane_ ? "pane" : focus == list_ ? "list" : "main window");
        ASSERT_TRUE(FocusOn(main_, focus));
        // Ctrl+C follows Ctrl+O: once it has toggled the switch, Ctrl+O has been handled.
        ASSERT_TRUE(testing_support::PressControlChord('O'));
        ASSERT_TRUE(testing_support::PressControlChord('C'));
        captureExpected = !captureExpected;
        bool dialogSeen = false;
        EXPECT_TRUE(LoopUntil([&] { return window_.Window().CaptureOn() == captureExpected; },
                              [&] {
                                  EnumThreadWindows(GetCurrentThreadId(), CancelDialog,
                                                    reinterpret_cast<LPARAM>(&dialogSeen));
                              }));
        EXPECT_FALSE(dialogSeen);
        EXPECT_TRUE(IsWindowEnabled(main_));
        EXPECT_EQ(1, win::ListView(list_).Count());
        EXPECT_EQ("pane text\r\n", PaneText(pane_));
        EXPECT_EQ(0, window_.Window().Settings()->ToFile);
        EXPECT_FALSE(window_.Window().CaptureFileOpen());
    }
}

// ---- Find -------------------------------------------------------------------

HWND OpenFindDialog(HWND mainWindow) {
    Command(mainWindow, ID_VIEW_FIND, kMenuCode);
    return dialog_driver::FindDialog(L"Find");
}

// Types the text into the Find dialog, sets its choices and presses Find Next.
void FindNext(HWND dialog, const char* text, bool matchCase, bool down) {
    SetDlgItemTextA(dialog, edt1, text);
    CheckDlgButton(dialog, chx2, matchCase ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(dialog, rad1, rad2, down ? rad2 : rad1);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    for (int row = -1; (row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
        rows.push_back(row);
    return rows;
}

int FocusedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

bool RowInView(HWND list, int row) {
    const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    const int perPage = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    return row >= top && row < top + perPage;
}

struct MessageBoxSeen {
    std::wstring text;
    HWND owner = nullptr;
};

// Runs the action and answers the message box it brings up, which is closed.
MessageBoxSeen BoxShownBy(const std::function<void()>& action) {
    MessageBoxSeen seen;
    dialog_driver::ModalScript script({[&] {
        const HWND box = dialog_driver::FindDialog(L"Kelv SysLog monitor");
        if (!box) return false;
        seen.text = dialog_driver::StaticText(box);
        seen.owner = GetWindow(box, GW_OWNER);
        dialog_driver::PressButton(box, IDOK);
        return true;
    }});
    action();
    EXPECT_TRUE(script.Finished());
    return seen;
}

class FindTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(main_);
        ASSERT_TRUE(DeliverBurst(window_.Window(), kRows, [](int row) {
            if (row == kFirstNeedle) return MakeRecord("<11>Needle in the disk", kSender);
            if (row == kSecondNeedle) return MakeRecord("<12>another needle here", kSender);
            if (row == kSenderRow) return MakeRecord("<13>from elsewhere", "192.168.77.1");
            return MakeRecord("<14>hay " + std::to_string(row), kSender);
        }));
    }

    static constexpr int kRows = 300;
    static constexpr int kFirstNeedle = 40;
    static constexpr int kSecondNeedle = 260;
    static constexpr int kSenderRow = 280;

    DesktopLock lock_;
    RunningMainWindow window_;
    HWND main_ = window_.Handle();
    HWND list_ = window_.Window().MessageList();
};

TEST_F(FindTest, DownUpAndMatchCaseSelectFocusAndShowTheRowFound) {
    const HWND dialog = OpenFindDialog(main_);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, chx1))) << "Whole word is offered but not supported";

    FindNext(dialog, "needle", false, true);  // nothing selected: from the first row
    EXPECT_EQ(std::vector<int>{kFirstNeedle}, SelectedRows(list_));
    EXPECT_EQ(kFirstNeedle, FocusedRow(list_));

    FindNext(dialog, "needle", false, true);
    EXPECT_EQ(std::vector<int>{kSecondNeedle}, SelectedRows(list_));
    EXPECT_EQ(kSecondNeedle, FocusedRow(list_));
    EXPECT_TRUE(RowInView(list_, kSecondNeedle));

    FindNext(dialog, "needle", false, false);
    EXPECT_EQ(std::vector<int>{kFirstNeedle}, SelectedRows(list_));
    EXPECT_TRUE(RowInView(list_, kFirstNeedle));

    FindNext(dialog, "192.168.77", false, true);  // the From text is searched too
    EXPECT_EQ(std::vector<int>{kSenderRow}, SelectedRows(list_));

    FindNext(dialog, "Needle", true, false);  // Match Case: row 260's "needle" is passed over
    EXPECT_EQ(std::vector<int>{kFirstNeedle}, SelectedRows(list_));
}

TEST_F(FindTest, NothingFurtherSaysSoAndKeepsTheSelectionWithoutWrappingAround) {
    const HWND dialog = OpenFindDialog(main_);
    ASSERT_TRUE(dialog);
    FindNext(dialog, "needle", false, true);
    FindNext(dialog, "needle", false, true);
    ASSERT_EQ(std::vector<int>{kSecondNeedle}, SelectedRows(list_));

    // Row 40 matches, but lies above: the search does not go round.
    const MessageBoxSeen seen = BoxShownBy([&] { FindNext(dialog, "needle", false, true); });
    EXPECT_EQ(L"Cannot find \"needle\"", seen.text);
    EXPECT_EQ(dialog, seen.owner);
    EXPECT_EQ(std::vector<int>{kSecondNeedle}, SelectedRows(list_));

    EXPECT_EQ(L"Cannot find \"xyz\"", BoxShownBy([&] { FindNext(dialog, "xyz", false, false); }).text);
}

TEST_F(FindTest, F3WithoutATextOpensTheDialogAndAfterOneFindsNextAndPrevious) {
    EXPECT_EQ(0, Command(main_, ID_FIND_NEXT, kAcceleratorCode));
    const HWND dialog = dialog_driver::FindDialog(L"Find");
    ASSERT_TRUE(dialog);
    FindNext(dialog, "NEEDLE", false, true);
    ASSERT_EQ(std::vector<int>{kFirstNeedle}, SelectedRows(list_));
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    dialog_driver::DispatchPending();
    ASSERT_FALSE(dialog_driver::FindDialog(L"Find"));

    // From the focused row, not the first selected one: from row 10 the next needle would be row 40.
    ListView_SetItemState(list_, 10, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list_, kFirstNeedle, 0, LVIS_SELECTED);
    ListView_SetItemState(list_, 100, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Command(main_, ID_FIND_NEXT, kAcceleratorCode);
    EXPECT_EQ(std::vector<int>{kSecondNeedle}, SelectedRows(list_));
    Command(main_, ID_FIND_PREVIOUS, kAcceleratorCode);
    EXPECT_EQ(std::vector<int>{kFirstNeedle}, SelectedRows(list_));
    // Without the dialog the box belongs to the Main window.
    EXPECT_EQ(main_, BoxShownBy([&] { Command(main_, ID_FIND_PREVIOUS, kAcceleratorCode); }).owner);
}

// Text typed in the dialog (the code page) finds a message sent as UTF-8 as
// it is shown, case folded; the bytes of its UTF-8 read in the code page do not.
TEST_F(FindTest, TextTypedInTheCodePageFindsAMessageSentAsUtf8) {
    DeliverRecord(window_.Window(), "<14>Z\xC3\xBCrich \xE2\x80\x94 \xE2\x82\xAC" "12,50");
    DeliverRecord(window_.Window(), "<14>Z\xFCrich in the code page");
    const HWND dialog = OpenFindDialog(main_);
    ASSERT_TRUE(dialog);
    FindNext(dialog, "z\xDCRICH \x97 \x80", false, true);
    EXPECT_EQ(std::vector<int>{kRows}, SelectedRows(list_));
    FindNext(dialog, "Z\xFCrich", true, true);
    EXPECT_EQ(std::vector<int>{kRows + 1}, SelectedRows(list_));
    EXPECT_EQ(L"Cannot find \"Z\u00C3\u00BC\"", BoxShownBy([&] { FindNext(dialog, "Z\xC3\xBC", false, false); }).text);
}

// Through the program's own loop, from real key presses: Ctrl+F opens the
// dialog; inside it Ctrl+C is the edit box's, not the Capture switch, and
// Enter finds; F3 in the list finds again.
TEST_F(FindTest, KeysInsideTheDialogAreTheDialogsAndF3WorksFromTheList) {
    const OwnedAccelerators owned;
    const HACCEL accelerators = owned.Table();
    ASSERT_TRUE(accelerators);
    ASSERT_TRUE(FocusOn(main_, list_));
    ASSERT_TRUE(testing_support::PressControlChord('F'));
    HWND dialog = nullptr;
    ASSERT_TRUE(LoopRun(accelerators, [&] { return (dialog = dialog_driver::FindDialog(L"Find")) != nullptr; }).Run());

    SetDlgItemTextA(dialog, edt1, "needle");
    SetFocus(GetDlgItem(dialog, edt1));
    ASSERT_TRUE(testing_support::PressControlChord('C'));
    ASSERT_TRUE(testing_support::PressKey(VK_RETURN));
    EXPECT_TRUE(LoopRun(accelerators, [&] { return SelectedRows(list_) == std::vector<int>{kFirstNeedle}; }).Run());
    EXPECT_TRUE(window_.Window().CaptureOn());
    EXPECT_TRUE(IsWindow(dialog));

    ASSERT_TRUE(FocusOn(main_, list_));
    ASSERT_TRUE(testing_support::PressKey(VK_F3));
    EXPECT_TRUE(LoopRun(accelerators, [&] { return SelectedRows(list_) == std::vector<int>{kSecondNeedle}; }).Run());
}

// ---- Filter -------------------------------------------------------------------

std::string WindowTitle(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// The Details texts of the rows the list shows, in list order.
std::vector<std::string> ShownMessages(HWND list) {
    std::vector<std::string> shown;
    for (int row = 0; row < win::ListView(list).Count(); ++row) shown.push_back(CellText(list, row, 1));
    return shown;
}

// View > Filter..., its fields changed by fill, then OK.
void FilterWithDialog(HWND mainWindow, const std::function<void(HWND)>& fill) {
    HWND dialog = nullptr;
    dialog_driver::ModalScript script({[&] { return (dialog = dialog_driver::FindDialog(L"Filter")) != nullptr; },
                                       [&] {
                                           fill(dialog);
                                           dialog_driver::PressButton(dialog, IDOK);
                                           return true;
                                       }});
    EXPECT_EQ(0, Command(mainWindow, ID_VIEW_FILTER, kMenuCode));
    EXPECT_TRUE(script.Finished());
}

UINT FilterOnState(HWND mainWindow) {
    const HMENU view = ViewPopup(mainWindow);
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), MAKELPARAM(0, FALSE));
    return GetMenuState(view, ID_VIEW_FILTER_ON, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED);
}

std::string Line(const char* sender, const char* message) {
    return std::string(sender) + "," + message + "\r\n";
}

TEST(FilterCommand, RowsArrivingUnderAFilterAreAllWrittenAndHeldAndOnlyThoseThatPassShown) {
    DesktopLock lock;
    testing_support::TempFolder files;
    const std::wstring capture = files.File(L"capture.csv");
    RunningMainWindow window(SettingsIni(1, capture));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), FilterOnState(main));
    DeliverRecord(window.Window(), "<11>disk error", "10.0.0.1");
    DeliverRecord(window.Window(), "<14>all fine", "10.0.0.2");
    Command(main, ID_EDIT_SELECT_ALL, kMenuCode);

    FilterWithDialog(main, [](HWND dialog) { SetDlgItemTextA(dialog, IDC_FILTER_SHOW_TEXT, "ERROR"); });
    EXPECT_EQ((std::vector<std::string>{"<11>disk error"}), ShownMessages(list));
    EXPECT_TRUE(SelectedRows(list).empty());  // the rows selected were those of the other view
    EXPECT_EQ("Kelv SysLog monitor - 1 of 2 rows shown", WindowTitle(main));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), FilterOnState(main));

    DeliverRecord(window.Window(), "<12>an error again", "10.0.0.3");
    DeliverRecord(window.Window(), "<13>nothing to see", "10.0.0.3");
    EXPECT_EQ((std::vector<std::string>{"<11>disk error", "<12>an error again"}), ShownMessages(list));
    // The counts follow arrivals at most every 100 ms, and exactly once they stop.
    EXPECT_TRUE(PumpUntil([&] { return WindowTitle(main) == "Kelv SysLog monitor - 2 of 4 rows shown"; }))
        << WindowTitle(main);
    const std::string allFour = Line("10.0.0.1", "<11>disk error") + Line("10.0.0.2", "<14>all fine") +
                                Line("10.0.0.3", "<12>an error again") + Line("10.0.0.3", "<13>nothing to see");
    EXPECT_EQ(allFour, testing_support::ReadFileBytes(capture));

    // Off shows every row held, in arrival order; on again, the same filter.
    EXPECT_EQ(0, Command(main, ID_VIEW_FILTER_ON, kAcceleratorCode));
    EXPECT_EQ((std::vector<std::string>{"<11>disk error", "<14>all fine", "<12>an error again", "<13>nothing to see"}),
              ShownMessages(list));
    EXPECT_EQ("Kelv SysLog monitor", WindowTitle(main));
    EXPECT_EQ(0u, FilterOnState(main));
    Command(main, ID_VIEW_FILTER_ON, kAcceleratorCode);
    EXPECT_EQ((std::vector<std::string>{"<11>disk error", "<12>an error again"}), ShownMessages(list));

    // Clear removes the hidden rows too and keeps the filter.
    Command(main, ID_VIEW_CLEAR, kAcceleratorCode);
    EXPECT_EQ(0, win::ListView(list).Count());
    EXPECT_EQ("Kelv SysLog monitor - 0 of 0 rows shown", WindowTitle(main));
    DeliverRecord(window.Window(), "<14>fine after clear", "10.0.0.2");
    DeliverRecord(window.Window(), "<11>error after clear", "10.0.0.2");
    EXPECT_EQ((std::vector<std::string>{"<11>error after clear"}), ShownMessages(list));
    EXPECT_TRUE(PumpUntil([&] { return WindowTitle(main) == "Kelv SysLog monitor - 1 of 2 rows shown"; }))
        << WindowTitle(main);

    // Clear then OK in the dialog removes the filter.
    FilterWithDialog(main, [](HWND dialog) { dialog_driver::PressButton(dialog, IDC_FILTER_CLEAR); dialog_driver::DispatchPending(); });
    EXPECT_EQ(2, win::ListView(list).Count());
    EXPECT_EQ("Kelv SysLog monitor", WindowTitle(main));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), FilterOnState(main));
}


// The filter's counts, the pause and the capture switch, in that order.
TEST(FilterTitle, CountsAreGroupedAsTheLocaleGroupsThemWithoutDecimals) {
    char separator[8] = {};
    char grouping[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, sizeof grouping);
    ASSERT_STREQ("3;0", grouping) << "the expectations below assume groups of three";
    const std::string sep = separator;
    const struct {
        app::TitleFacts facts;
        std::string title;
    } titles[] = {
        {{true, 999, 1234567, false, 0, false}, "Kelv SysLog monitor - 999 of 1" + sep + "234" + sep + "567 rows shown"},
        {{true, 0, 1000, false, 0, false}, "Kelv SysLog monitor - 0 of 1" + sep + "000 rows shown"},
        {{false, 5, 10, false, 0, false}, "Kelv SysLog monitor"},
        {{false, 5, 10, true, 12345, false}, "Kelv SysLog monitor - paused, 12" + sep + "345 new"},
        {{false, 5, 10, false, 7, true}, "Kelv SysLog monitor - capture off: arriving messages are ignored"},
        {{true, 5, 10, true, 0, true},
         "Kelv SysLog monitor - 5 of 10 rows shown - paused, 0 new - capture off: arriving messages are ignored"},
        {{true, SIZE_MAX, SIZE_MAX, true, SIZE_MAX, true},
         "Kelv SysLog monitor - 18" + sep + "446" + sep + "744" + sep + "073" + sep + "709" + sep + "551" + sep +
             "615 of 18" + sep + "446" + sep + "744" + sep + "073" + sep + "709" + sep + "551" + sep +
             "615 rows shown - paused, 18" + sep + "446" + sep + "744" + sep + "073" + sep + "709" + sep + "551" +
             sep + "615 new - capture off: arriving messages are ignored"},
    };
    for (const auto& expected : titles) {
        char title[app::kTitleCapacity];
        app::FormatMainWindowTitle(expected.facts, title);
        EXPECT_EQ(expected.title, std::string(title));
    }
}

// The screen point in the middle of a row of the list.
POINT RowCentre(HWND list, int row) {
    RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
    POINT centre = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    ClientToScreen(list, &centre);
    return centre;
}

// The index of the item the open menu highlights, or -1.
int HighlightedItem(HMENU popup) {
    for (int item = 0; item < GetMenuItemCount(popup); ++item)
        if (GetMenuState(popup, static_cast<UINT>(item), MF_BYPOSITION) & MF_HILITE) return item;
    return -1;
}

// Chooses an item of the right-click menu once it is up: by its mnemonic, or
// (not every item has one) down to it with the Down key, one press at a
// time, and Enter. A key pressed before the menu is up would go to the list.
// Called at every tick of the loop the menu runs in.
class MenuChoice {
public:
    MenuChoice(WORD mnemonic, UINT command) : mnemonic_(mnemonic), command_(command) {}

    // The item was chosen and the menu is gone.
    bool Chosen() const { return done_ && !MenuWindow(); }

    void Tick() {
        const HWND menuWindow = MenuWindow();
        if (done_ || !menuWindow) return;
        if (mnemonic_) {
            done_ = true;
            testing_support::PressKey(mnemonic_);
            return;
        }
        const HMENU popup = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        const int highlighted = HighlightedItem(popup);
        if (pressed_ && highlighted == lastHighlighted_) return;  // the last press not yet taken
        lastHighlighted_ = highlighted;
        pressed_ = true;
        done_ = (GetMenuState(popup, command_, MF_BYCOMMAND) & MF_HILITE) != 0;
        testing_support::PressKey(done_ ? VK_RETURN : VK_DOWN);
    }

private:
    static HWND MenuWindow() {
        const HWND menuWindow = FindWindowA("#32768", nullptr);
        return menuWindow && IsWindowVisible(menuWindow) ? menuWindow : nullptr;
    }

    WORD mnemonic_;
    UINT command_;
    bool done_ = false;
    bool pressed_ = false;
    int lastHighlighted_ = -1;
};

// Through the program's own loop, as a user does it: Ctrl+L, a text typed
// into the Filter dialog and Enter; then the right-click menu's sender items
// chosen by their mnemonics; then, with rows a relay forwards, its host and
// app items, by mnemonic or by the arrow keys.
TEST_F(Accelerators, ControlLFiltersByATextAndTheRightClickMenuBySenderHostAndApp) {
    DeliverRecord(window_.Window(), "<11>disk error", "10.0.0.1");
    DeliverRecord(window_.Window(), "<14>all fine", "10.0.0.2");
    DeliverRecord(window_.Window(), "<12>error again", "10.0.0.3");
    ASSERT_TRUE(FocusOn(main_, list_));
    ASSERT_TRUE(testing_support::PressControlChord('L'));
    bool typed = false;
    EXPECT_TRUE(LoopUntil(
        [&] { return typed && !dialog_driver::FindDialog(L"Filter"); },
        [&] {
            const HWND dialog = dialog_driver::FindDialog(L"Filter");
            if (!dialog || typed) return;
            // The dialog opens with the focus in its first box.
            typed = GetFocus() == GetDlgItem(dialog, IDC_FILTER_SHOW_TEXT);
            if (!typed) return;
            for (const WORD key : {WORD{'E'}, WORD{'R'}, WORD{'R'}, WORD{'O'}, WORD{'R'}, WORD{VK_RETURN}})
                testing_support::PressKey(key);
        }));
    EXPECT_EQ("Kelv SysLog monitor - 2 of 3 rows shown", WindowTitle(main_));
    EXPECT_EQ((std::vector<std::string>{"<11>disk error", "<12>error again"}), ShownMessages(list_));

    struct Step {
        int row;
        WORD key;   // the item's mnemonic, or 0 to go down to the item with the arrow keys
        UINT item;
        const char* title;
        std::vector<std::string> shown;
    };
    const auto run = [&](const Step& step) {
        SCOPED_TRACE(step.title);
        ASSERT_TRUE(testing_support::MoveMouseTo(RowCentre(list_, step.row)));
        ASSERT_TRUE(testing_support::ClickRightButton());
        MenuChoice choice(step.key, step.item);
        EXPECT_TRUE(LoopUntil(
            [&] { return choice.Chosen() && WindowTitle(main_) == step.title && ShownMessages(list_) == step.shown; },
            [&] { choice.Tick(); }));
    };
    const Step bySender[] = {
        {1, 'H', 0, "Kelv SysLog monitor - 1 of 3 rows shown", {"<11>disk error"}},  // hides 10.0.0.3
        {0, 'R', 0, "Kelv SysLog monitor", {"<11>disk error", "<14>all fine", "<12>error again"}},
        {0, 'H', 0, "Kelv SysLog monitor - 2 of 3 rows shown", {"<14>all fine", "<12>error again"}},
        {0, 'H', 0, "Kelv SysLog monitor - 1 of 3 rows shown", {"<12>error again"}},  // 10.0.0.2 hidden too
        {0, 'O', 0, "Kelv SysLog monitor - 1 of 3 rows shown", {"<12>error again"}},  // only 10.0.0.3
        {0, 'R', 0, "Kelv SysLog monitor", {"<11>disk error", "<14>all fine", "<12>error again"}},
        {1, 'O', 0, "Kelv SysLog monitor - 1 of 3 rows shown", {"<14>all fine"}},  // only 10.0.0.2
    };
    for (const Step& step : bySender) run(step);

    const char* const fw1Login = "<13>Dec  8 10:01:02 fw1 sshd[12]: login";
    const char* const fw2Job = "<13>1 2026-12-08T10:01:03Z fw2 cron 99 - - job";
    const char* const fw1Job = "<13>Dec  8 10:01:04 fw1 cron[3]: job";
    for (const char* message : {fw1Login, fw2Job, fw1Job}) DeliverRecord(window_.Window(), message, "10.0.0.9");
    const std::vector<std::string> all = {"<11>disk error", "<14>all fine", "<12>error again", fw1Login, fw2Job, fw1Job};
    const Step byHostAndApp[] = {
        {0, 'R', 0, "Kelv SysLog monitor", all},
        {3, 0, ID_LIST_SHOW_ONLY_HOST, "Kelv SysLog monitor - 2 of 6 rows shown", {fw1Login, fw1Job}},
        // The host stays; the app is added.
        {1, 'P', 0, "Kelv SysLog monitor - 1 of 6 rows shown", {fw1Job}},
        {0, 'R', 0, "Kelv SysLog monitor", all},
        {4, 0, ID_LIST_HIDE_HOST, "Kelv SysLog monitor - 5 of 6 rows shown",
         {"<11>disk error", "<14>all fine", "<12>error again", fw1Login, fw1Job}},
        // A second host hidden joins the first.
        {3, 0, ID_LIST_HIDE_HOST, "Kelv SysLog monitor - 3 of 6 rows shown",
         {"<11>disk error", "<14>all fine", "<12>error again"}},
    };
    for (const Step& step : byHostAndApp) run(step);
    testing_support::ParkMouse();
    // The Filter dialog opens on the hosts hidden, so its OK keeps them.
    FilterWithDialog(main_, [](HWND) {});
    EXPECT_EQ("Kelv SysLog monitor - 3 of 6 rows shown", WindowTitle(main_));
}

// ---- Colours, the menu and the keys ---------------------------------------------

bool ColoursChecked(HWND mainWindow) {
    const HMENU view = ViewPopup(mainWindow);
    SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), MAKELPARAM(0, FALSE));
    return (GetMenuState(view, ID_VIEW_COLOURS, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST(ColourCommand, TogglesItsCheckMarkAndIsKeptInTheIniFile) {
    DesktopLock lock;
    {
        RunningMainWindow window(SettingsIni(0, L""));
        const HWND main = window.Handle();
        EXPECT_TRUE(ColoursChecked(main));
        EXPECT_EQ(0, Command(main, ID_VIEW_COLOURS, kMenuCode));
        EXPECT_FALSE(ColoursChecked(main));
        window.Close();
        EXPECT_NE(std::string::npos, testing_support::ReadFileBytes(window.IniPath()).find("\r\nColours=0\r\n"));
    }
    RunningMainWindow nextRun(testing_support::SettingsSection({{"Colours", "0"}}));
    EXPECT_FALSE(ColoursChecked(nextRun.Handle()));
    Command(nextRun.Handle(), ID_VIEW_COLOURS, kMenuCode);
    EXPECT_TRUE(ColoursChecked(nextRun.Handle()));
}

// ---- Every menu item and accelerator reaches a handler that does something ----

// Every command a menu names, its popups' included (separators name none).
void CollectCommands(HMENU menu, std::set<UINT>& commands) {
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        if (const HMENU popup = GetSubMenu(menu, position))
            CollectCommands(popup, commands);
        else if (const UINT command = GetMenuItemID(menu, position))
            commands.insert(command);
    }
}

// The Main window of a command's check: two rows, the first selected, and a line in the pane.
struct CommandTarget {
    CommandTarget() {
        DeliverRecord(window.Window(), "<3>first");
        DeliverRecord(window.Window(), "second");
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        diag::Report(0, L"a diagnostic\r\n");
        PumpUntil([&] { return !PaneText(pane).empty(); });
    }

    RunningMainWindow window{SettingsIni(0, L"")};
    HWND main = window.Handle();
    HWND list = window.Window().MessageList();
    HWND pane = window.Window().DiagnosticsPane();
};

// Runs the command and answers whether a modal dialog came up over the Main
// window; the dialog is closed with Escape.
bool OpensAModalDialog(CommandTarget& target, UINT command) {
    bool seen = false;
    dialog_driver::ModalScript script({[&] {
        const HWND dialog = dialog_driver::FindDialogOwnedBy(target.main);
        if (!dialog) return false;
        dialog_driver::PressEscape(dialog);
        return seen = true;
    }});
    Command(target.main, static_cast<WORD>(command), kMenuCode);
    return seen && script.Finished();
}

// Runs the command and answers whether the Find dialog came up; it is closed again.
bool OpensTheFindDialog(CommandTarget& target, UINT command) {
    Command(target.main, static_cast<WORD>(command), kMenuCode);
    const HWND dialog = dialog_driver::FindDialog(L"Find");
    if (dialog) PostMessageA(dialog, WM_CLOSE, 0, 0);
    dialog_driver::DispatchPending();
    return dialog != nullptr;
}

// Asks for the list's right-click menu at the position, as the system does,
// and hands the menu's window to act once it is up; answers whether it came up.
bool WithTheListMenu(HWND mainWindow, HWND list, LPARAM position, const std::function<void(HWND menuWindow)>& act) {
    dialog_driver::ModalScript script({[&] {
        const HWND menuWindow = FindWindowA("#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow)) return false;
        act(menuWindow);
        return true;
    }});
    SendMessageA(mainWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), position);
    return script.Finished();
}

// Opens the list's right-click menu over the first row and chooses the item
// whose mnemonic is the key; answers whether the menu came up.
bool ChooseFromTheListMenu(CommandTarget& target, char key) {
    RECT row{};  // with no row shown, the list's top-left corner
    ListView_GetItemRect(target.list, 0, &row, LVIR_BOUNDS);
    POINT at{row.left + 10, (row.top + row.bottom) / 2};
    ClientToScreen(target.list, &at);
    return WithTheListMenu(target.main, target.list, MAKELPARAM(at.x, at.y),
                           [key](HWND menuWindow) { PostMessageA(menuWindow, WM_CHAR, static_cast<WPARAM>(key), 0); });
}

// Opens the list's right-click menu over the row and goes down to the item
// with the Down key, then chooses it with Enter, or leaves the menu with
// Escape when it is greyed; answers whether it was chosen.
bool ChooseByArrowsFromTheListMenu(CommandTarget& target, int row, UINT command) {
    RECT bounds{};
    ListView_GetItemRect(target.list, row, &bounds, LVIR_BOUNDS);
    POINT at{bounds.left + 10, (bounds.top + bounds.bottom) / 2};
    ClientToScreen(target.list, &at);
    bool chosen = false;
    int presses = 0;
    dialog_driver::ModalScript script({[&] {
        const HWND menuWindow = FindWindowA("#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow)) return false;
        const HMENU popup = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        const UINT state = GetMenuState(popup, command, MF_BYCOMMAND);
        const bool there = (state & MF_HILITE) != 0;
        if (!there && ++presses <= GetMenuItemCount(popup)) {
            PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            return false;
        }
        chosen = there && !(state & MF_GRAYED);
        PostMessageA(menuWindow, WM_KEYDOWN, chosen ? VK_RETURN : VK_ESCAPE, 0);
        return true;
    }});
    SendMessageA(target.main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target.list), MAKELPARAM(at.x, at.y));
    return script.Finished() && chosen;
}

using CommandCheck = std::function<bool(CommandTarget&, UINT command)>;

// With two rows of one app from two hosts besides the target's two without a
// header, the item is greyed over a row without one and, over the first of
// the two, leaves the rows given.
CommandCheck FiltersByTheRowsHeader(std::vector<std::string> shown) {
    return [shown](CommandTarget& target, UINT command) {
        DeliverRecord(target.window.Window(), "<13>Dec  8 10:01:02 fw1 sshd[1]: third", "10.0.0.9");
        DeliverRecord(target.window.Window(), "<13>1 2026-12-08T10:01:03Z fw2 sshd - - - fourth", "10.0.0.9");
        const bool greyedOverFirst = !ChooseByArrowsFromTheListMenu(target, 0, command);
        return greyedOverFirst && ChooseByArrowsFromTheListMenu(target, 2, command) && ShownMessages(target.list) == shown;
    };
}

// The column's header follows Details' left neighbour once the command has run.
CommandCheck ShowsTheColumn(const char* header) {
    return [header](CommandTarget& target, UINT command) {
        Command(target.main, static_cast<WORD>(command), kMenuCode);
        return testing_support::ColumnHeaders(target.list) == std::vector<std::string>{"From", header, "Details"};
    };
}

// With a rule that marks the row holding the text, the command selects that row alone from the one selected.
CommandCheck SelectsTheMarkedRow(const char* text, int from, int marked) {
    return [=](CommandTarget& target, UINT command) {
        records::CountedRule rule;
        rule.rule.conditions.showText = text;
        rule.rule.mark = true;
        target.window.Window().SetWatchRules({rule});
        ListView_SetItemState(target.list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(target.list, from, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Command(target.main, static_cast<WORD>(command), kAcceleratorCode);
        return ListView_GetSelectedCount(target.list) == 1 && ListView_GetNextItem(target.list, -1, LVNI_SELECTED) == marked;
    };
}

// Runs the command, then answers whether the window shows what it should.
CommandCheck ThenShows(bool (*shows)(CommandTarget&)) {
    return [shows](CommandTarget& target, UINT command) {
        Command(target.main, static_cast<WORD>(command), kMenuCode);
        return shows(target);
    };
}

// What each command visibly does.
const std::map<UINT, CommandCheck>& CommandChecks() {
    static const std::map<UINT, CommandCheck> checks = {
        {ID_VIEW_CAPTURE, ThenShows([](CommandTarget& target) { return !target.window.Window().CaptureOn(); })},
        {ID_VIEW_SAVE, OpensAModalDialog},
        {ID_VIEW_OPTIONS, OpensAModalDialog},
        {ID_HELP_ABOUT, OpensAModalDialog},
        {ID_VIEW_CLEAR, ThenShows([](CommandTarget& target) {
             return win::ListView(target.list).Count() == 0 && PaneText(target.pane).empty();
         })},
        {ID_VIEW_FIND, OpensTheFindDialog},
        // With nothing searched for yet, F3 and Shift+F3 ask what to find.
        {ID_FIND_NEXT, OpensTheFindDialog},
        {ID_FIND_PREVIOUS, OpensTheFindDialog},
        {ID_VIEW_COLOURS,
         ThenShows([](CommandTarget& target) { return target.window.Window().Settings()->Colours == 0; })},
        {ID_EDIT_COPY,
         [](CommandTarget& target, UINT command) {
             SetClipboardText(target.main, "marker");
             Command(target.main, static_cast<WORD>(command), kMenuCode);
             return ClipboardText(target.main) == "10.0.0.1,<3>first\r\n";
         }},
        {ID_VIEW_FILTER, OpensAModalDialog},
        // The sender items act on the row the menu was opened over.
        {ID_LIST_SHOW_ONLY_SENDER,
         [](CommandTarget& target, UINT) {
             return ChooseFromTheListMenu(target, 'o') && dialog_driver::TextA(target.main) != "Kelv SysLog monitor";
         }},
        {ID_LIST_HIDE_SENDER,
         [](CommandTarget& target, UINT) {
             return ChooseFromTheListMenu(target, 'h') && win::ListView(target.list).Count() == 0;
         }},
        // The host and app items act on the row's header.
        {ID_LIST_SHOW_ONLY_HOST, FiltersByTheRowsHeader({"<13>Dec  8 10:01:02 fw1 sshd[1]: third"})},
        {ID_LIST_HIDE_HOST,
         FiltersByTheRowsHeader({"<3>first", "second", "<13>1 2026-12-08T10:01:03Z fw2 sshd - - - fourth"})},
        {ID_LIST_SHOW_ONLY_APP, FiltersByTheRowsHeader({"<13>Dec  8 10:01:02 fw1 sshd[1]: third",
                                                        "<13>1 2026-12-08T10:01:03Z fw2 sshd - - - fourth"})},
        {ID_LIST_HIDE_APP, FiltersByTheRowsHeader({"<3>first", "second"})},
        {ID_LIST_SHOW_ALL_ROWS,
         [](CommandTarget& target, UINT) {
             return ChooseFromTheListMenu(target, 'h') && ChooseFromTheListMenu(target, 'r') &&
                    win::ListView(target.list).Count() == 2;
         }},
        {ID_VIEW_FILTER_ON,
         [](CommandTarget& target, UINT command) {
             ChooseFromTheListMenu(target, 'h');
             Command(target.main, static_cast<WORD>(command), kMenuCode);
             return win::ListView(target.list).Count() == 2;
         }},
        {ID_EDIT_SELECT_ALL,
         ThenShows([](CommandTarget& target) { return ListView_GetSelectedCount(target.list) == 2; })},
        {ID_VIEW_WATCH_RULES, OpensAModalDialog},
        {ID_NEXT_MARKED_ROW, SelectsTheMarkedRow("second", 0, 1)},
        {ID_PREVIOUS_MARKED_ROW, SelectsTheMarkedRow("first", 1, 0)},
        {ID_COLUMN_RECEIVED, ShowsTheColumn("Received")},
        {ID_COLUMN_TIME, ShowsTheColumn("Time")},
        {ID_COLUMN_HOST, ShowsTheColumn("Host")},
        {ID_COLUMN_FACILITY, ShowsTheColumn("Facility")},
        {ID_COLUMN_SEVERITY, ShowsTheColumn("Severity")},
        {ID_COLUMN_APP, ShowsTheColumn("App")},
        {ID_COLUMN_PID, ShowsTheColumn("PID")},
        {ID_COLUMN_MSGID, ShowsTheColumn("MsgID")},
        {ID_COLUMN_MESSAGE, ShowsTheColumn("Message")},
        {ID_VIEW_PAUSE, ThenShows([](CommandTarget& target) {
             return target.window.Window().Messages().Paused() &&
                    dialog_driver::TextA(target.main) == "Kelv SysLog monitor - paused, 0 new";
         })},
        {ID_VIEW_TRAFFIC, ThenShows([](CommandTarget& target) {
             const HWND traffic = target.window.Window().Traffic().Handle();
             return traffic && IsWindowVisible(traffic) && GetWindow(traffic, GW_OWNER) == target.main;
         })},
        {ID_VIEW_STATUS_BAR, ThenShows([](CommandTarget& target) {
             const HWND bar = target.window.Window().Status().Handle();
             return bar && IsWindowVisible(bar);
         })},
    };
    return checks;
}

TEST(Commands, EveryMenuItemAndAcceleratorReachesAHandlerThatDoesSomething) {
    DesktopLock lock;
    std::set<UINT> commands;
    {
        const HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        const HMENU listMenu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU));
        ASSERT_TRUE(menu && listMenu);
        CollectCommands(menu, commands);
        CollectCommands(listMenu, commands);
        DestroyMenu(menu);
        DestroyMenu(listMenu);
        const OwnedAccelerators accelerators;
        ACCEL entries[32] = {};
        const int count = CopyAcceleratorTableA(accelerators.Table(), entries, 32);
        ASSERT_GT(count, 0);
        for (int i = 0; i < count; ++i) commands.insert(entries[i].cmd);
    }
    for (const UINT command : commands) {
        SCOPED_TRACE(command);
        const auto check = CommandChecks().find(command);
        if (check == CommandChecks().end()) {
            ADD_FAILURE() << "command " << command << " has no check of what it does";
            continue;
        }
        CommandTarget target;
        EXPECT_TRUE(check->second(target, command));
    }
}

// The right-click menu as it shows: where it opens and whether Copy is greyed.
struct ListMenuSeen {
    POINT at{-1, -1};
    UINT copyState = static_cast<UINT>(-1);
};

// Opens the list's right-click menu as the system asks for it and closes it unchosen.
ListMenuSeen OpenListMenu(HWND mainWindow, HWND list, LPARAM position) {
    ListMenuSeen seen;
    EXPECT_TRUE(WithTheListMenu(mainWindow, list, position, [&seen](HWND menuWindow) {
        RECT shown;
        GetWindowRect(menuWindow, &shown);
        seen.at = {shown.left, shown.top};
        const HMENU popup = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        seen.copyState = GetMenuState(popup, ID_EDIT_COPY, MF_BYCOMMAND);
        EndMenu();
    }));
    return seen;
}

// From the keyboard (no position) it opens at the list's top-left corner, from
// the mouse where the pointer is; Copy is greyed while no row is selected.
TEST(ListMenu, OpensWhereAskedWithCopyGreyedOnlyWithoutASelection) {
    DesktopLock lock;
    RunningMainWindow window(SettingsIni(0, L""));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    DeliverRecord(window.Window(), "a row");
    POINT corner{0, 0};
    ClientToScreen(list, &corner);

    ListMenuSeen seen = OpenListMenu(main, list, -1);
    EXPECT_EQ(corner.x, seen.at.x);
    EXPECT_EQ(corner.y, seen.at.y);
    EXPECT_TRUE(seen.copyState & MF_GRAYED);

    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    seen = OpenListMenu(main, list, MAKELPARAM(corner.x + 40, corner.y + 30));
    EXPECT_EQ(corner.x + 40, seen.at.x);
    EXPECT_EQ(corner.y + 30, seen.at.y);
    EXPECT_FALSE(seen.copyState & MF_GRAYED);
}

// A right-click on the header offers every optional column, checked while it
// is shown, and shows or hides the one chosen; so does View > Columns.
TEST(ColumnMenu, TheHeadersRightClickMenuAndTheViewMenuShowAndHideTheColumns) {
    DesktopLock lock;
    RunningMainWindow window(SettingsIni(0, L""));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    const HWND header = ListView_GetHeader(list);
    Command(main, ID_COLUMN_APP, kMenuCode);
    RECT place;
    GetWindowRect(header, &place);

    std::vector<std::pair<std::string, bool>> items;
    dialog_driver::ModalScript script({[&] {
        const HWND menuWindow = FindWindowA("#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow)) return false;
        const HMENU popup = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        for (int position = 0; position < GetMenuItemCount(popup); ++position) {
            char text[32] = {};
            GetMenuStringA(popup, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
            items.emplace_back(text, (GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0);
        }
        PostMessageA(menuWindow, WM_CHAR, 'h', 0);
        return true;
    }});
    SendMessageA(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(header), MAKELPARAM(place.left + 20, place.top + 5));
    ASSERT_TRUE(script.Finished());
    const std::vector<std::pair<std::string, bool>> offered = {
        {"&Received", false}, {"&Time", false}, {"&Host", false}, {"&Facility", false}, {"&Severity", false},
        {"&App", true},       {"&PID", false},  {"Msg&ID", false}, {"&Message", false}};
    EXPECT_EQ(offered, items);
    EXPECT_EQ((std::vector<std::string>{"From", "App", "Host", "Details"}), testing_support::ColumnHeaders(list));

    const HMENU view = ViewPopup(main);
    SendMessageA(main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), MAKELPARAM(0, FALSE));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(view, ID_COLUMN_HOST, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(0u, GetMenuState(view, ID_COLUMN_PID, MF_BYCOMMAND) & MF_CHECKED);
    Command(main, ID_COLUMN_APP, kMenuCode);
    EXPECT_EQ((std::vector<std::string>{"From", "Host", "Details"}), testing_support::ColumnHeaders(list));
}

}  // namespace
