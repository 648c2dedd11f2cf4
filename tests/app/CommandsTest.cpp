// CommandsTest.cpp: the capture switch, its check mark, Clear, and the keyboard accelerators.
#include <gtest/gtest.h>

#include <share.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <set>
#include <string>

#include "app/MessageLoop.h"
#include "app/UserMessages.h"
#include "diag/DiagnosticReporter.h"
#include "log/MessageList.h"
#include "net/SyslogRecord.h"
#include "res/resource.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestSupport.h"

namespace {

using testing_support::DesktopLock;
using testing_support::PaneText;
using testing_support::PumpUntil;
using testing_support::RunningMainWindow;

constexpr WORD kMenuCode = 0;
constexpr WORD kAcceleratorCode = 1;

std::string Narrow(const std::wstring& wide) {
    char text[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string SettingsIni(int toFile, const std::wstring& fileName) {
    return "[Settings]\r\nAutoscroll=0\r\nToDisplay=1\r\nToFile=" + std::to_string(toFile) +
           "\r\nFileName=" + Narrow(fileName) + "\r\n";
}

// Hands a record to the Main window as the Receive thread does, and returns
// once it has been handled.
void DeliverRecord(app::MainWindow& mainWindow, const std::string& text) {
    testing_support::DeliverRecord(mainWindow, testing_support::MakeRecord(text, "10.0.0.1"));
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

std::string CellText(HWND list, int row, int column) {
    char text[512] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

bool SetClipboardText(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool placed = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_TEXT, memory) != nullptr;
        if (!placed) GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

std::string ClipboardText(HWND owner) {
    std::string text;
    if (!OpenClipboard(owner)) return "<clipboard busy>";
    if (const HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
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

HACCEL ProgramAccelerators() {
    return LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

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

        // The switch is not one of the options: the INI file holds the four and nothing else.
        EXPECT_EQ((std::set<std::string>{"Autoscroll", "FileName", "ToDisplay", "ToFile"}),
                  IniKeys(Narrow(window.IniPath())));
    }
    RunningMainWindow nextRun;
    EXPECT_TRUE(nextRun.Window().CaptureOn());
    EXPECT_TRUE(CaptureChecked(nextRun.Handle()));
}

TEST(CaptureCommand, PopupsWithoutTheCaptureItemLeaveTheMarkAlone) {
    DesktopLock lock;
    RunningMainWindow window;
    const HWND main = window.Handle();
    ASSERT_TRUE(CaptureChecked(main));
    Command(main, ID_VIEW_CAPTURE, kMenuCode);

    const HMENU help = GetSubMenu(GetMenu(main), 1);
    EXPECT_EQ(0, SendMessageA(main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), MAKELPARAM(1, FALSE)));
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(help, ID_VIEW_CAPTURE, MF_BYCOMMAND));
    // The View popup was not touched by the Help popup's opening: still checked from before.
    EXPECT_TRUE(GetMenuState(ViewPopup(main), ID_VIEW_CAPTURE, MF_BYCOMMAND) & MF_CHECKED);
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
    const unsigned long long takenBefore = window.Window().Deliveries().TakenSoFar();
    testing_support::SendDatagram(window.Port(), "while off");
    // Handled by the time the pump looks at its condition again.
    ASSERT_TRUE(PumpUntil([&] { return window.Window().Deliveries().TakenSoFar() == takenBefore + 1; }));
    DeliverRecord(window.Window(), "also while off");
    EXPECT_EQ(1, messagelog::RowCount(list));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());  // the row holds a copy; every record is released

    // Still open while off: other writers are still kept out.
    FILE* otherWriter = _wfsopen(capturePath.c_str(), L"a", _SH_DENYNO);
    EXPECT_EQ(nullptr, otherWriter);
    if (otherWriter) fclose(otherWriter);
    EXPECT_TRUE(window.Window().CaptureFileOpen());

    Command(main, ID_VIEW_CAPTURE, kAcceleratorCode);
    ASSERT_TRUE(window.Window().CaptureOn());
    ASSERT_TRUE(window.SendAndWaitForRows("after the switch", 2));
    EXPECT_EQ(2, messagelog::RowCount(list));
    EXPECT_EQ("before the switch", CellText(list, 0, 1));
    EXPECT_EQ("after the switch", CellText(list, 1, 1));

    window.Close();
    EXPECT_EQ(earlier + "127.0.0.1,before the switch\r\n127.0.0.1,after the switch\r\n",
              testing_support::ReadFileBytes(capturePath));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(reopenedPath.c_str()));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

// ---- Clear ------------------------------------------------------------------

TEST(ClearCommand, EmptiesListAndPaneAndGivesTheRowsMemoryBack) {
    DesktopLock lock;
    RunningMainWindow window(SettingsIni(0, L""));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    const HWND pane = window.Window().DiagnosticsPane();
    const long recordsBefore = net::SyslogRecordsAlive();

    constexpr int kRows = 500;
    for (int i = 0; i < kRows; ++i) DeliverRecord(window.Window(), "record " + std::to_string(i));
    ASSERT_EQ(kRows, messagelog::RowCount(list));
    ASSERT_EQ(recordsBefore, net::SyslogRecordsAlive());  // the rows hold copies
    diag::Report(0, L"a diagnostic\r\n");
    ASSERT_TRUE(PumpUntil([&] { return PaneText(pane) == "a diagnostic\r\n"; }));

    EXPECT_EQ(0, Command(main, ID_VIEW_CLEAR, kMenuCode));
    EXPECT_EQ(0, messagelog::RowCount(list));
    EXPECT_EQ(0u, window.Window().StoredRows().Count());
    EXPECT_EQ(0u, window.Window().StoredRows().BytesHeld());
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_EQ("", PaneText(pane));

    // The list takes rows again afterwards.
    DeliverRecord(window.Window(), "after clearing");
    EXPECT_EQ(1, messagelog::RowCount(list));
    EXPECT_EQ("after clearing", CellText(list, 0, 1));
}

TEST(ClearCommand, OnAnEmptyListStillEmptiesThePaneWhateverTheSwitch) {
    DesktopLock lock;
    RunningMainWindow window(SettingsIni(0, L""));
    const HWND main = window.Handle();
    const HWND pane = window.Window().DiagnosticsPane();
    const long recordsBefore = net::SyslogRecordsAlive();
    Command(main, ID_VIEW_CAPTURE, kMenuCode);  // Clear does not look at the switch

    diag::Report(0, L"only the pane holds text\r\n");
    ASSERT_TRUE(PumpUntil([&] { return !PaneText(pane).empty(); }));
    EXPECT_EQ(0, Command(main, ID_VIEW_CLEAR, kAcceleratorCode));
    EXPECT_EQ("", PaneText(pane));
    EXPECT_EQ(0, messagelog::RowCount(window.Window().MessageList()));
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());

    // Both empty: still answers 0, and nothing changes.
    EXPECT_EQ(0, Command(main, ID_VIEW_CLEAR, kMenuCode));
    EXPECT_EQ("", PaneText(pane));
}

// ---- Accelerators through the program's message loop, from real key presses ----

TEST(Accelerators, ControlCInTheDiagnosticsPaneTogglesCaptureAndCopiesNothing) {
    DesktopLock lock;
    RunningMainWindow window;
    const HWND main = window.Handle();
    const HWND pane = window.Window().DiagnosticsPane();
    const HACCEL accelerators = ProgramAccelerators();
    ASSERT_TRUE(accelerators);

    diag::Report(0, L"selected words\r\n");
    ASSERT_TRUE(PumpUntil([&] { return PaneText(pane) == "selected words\r\n"; }));
    SendMessageA(pane, EM_SETSEL, 0, -1);
    ASSERT_TRUE(SetClipboardText(main, "marker"));
    ASSERT_EQ("marker", ClipboardText(main));
    ASSERT_TRUE(FocusOn(main, pane));

    ASSERT_TRUE(testing_support::PressControlChord('C'));
    EXPECT_TRUE(LoopRun(accelerators, [&] { return !window.Window().CaptureOn(); }).Run());
    EXPECT_FALSE(window.Window().CaptureOn());
    EXPECT_EQ("marker", ClipboardText(main));
    EXPECT_FALSE(CaptureChecked(main));

    ASSERT_TRUE(FocusOn(main, pane));
    ASSERT_TRUE(testing_support::PressControlChord('C'));
    EXPECT_TRUE(LoopRun(accelerators, [&] { return window.Window().CaptureOn(); }).Run());
    EXPECT_EQ("marker", ClipboardText(main));

    // The selection was there to copy: the pane's own copy does reach the clipboard.
    SendMessageA(pane, WM_COPY, 0, 0);
    EXPECT_EQ("selected words\r\n", ClipboardText(main));
    DestroyAcceleratorTable(accelerators);
}

TEST(Accelerators, ControlRClearsTheListAndThePane) {
    DesktopLock lock;
    RunningMainWindow window(SettingsIni(0, L""));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    const HWND pane = window.Window().DiagnosticsPane();
    const HACCEL accelerators = ProgramAccelerators();
    ASSERT_TRUE(accelerators);
    const long recordsBefore = net::SyslogRecordsAlive();

    ASSERT_TRUE(window.SendAndWaitForRows("first", 1));
    ASSERT_TRUE(window.SendAndWaitForRows("second", 2));
    diag::Report(0, L"a diagnostic\r\n");
    ASSERT_TRUE(PumpUntil([&] { return !PaneText(pane).empty(); }));
    ASSERT_TRUE(FocusOn(main, list));

    ASSERT_TRUE(testing_support::PressControlChord('R'));
    EXPECT_TRUE(LoopRun(accelerators, [&] {
                    return messagelog::RowCount(list) == 0 && PaneText(pane).empty();
                }).Run());
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
    EXPECT_TRUE(window.Window().CaptureOn());
    DestroyAcceleratorTable(accelerators);
}

TEST(Accelerators, ControlODoesNothingWhereverTheFocusIs) {
    DesktopLock lock;
    RunningMainWindow window(SettingsIni(0, L""));
    const HWND main = window.Handle();
    const HWND list = window.Window().MessageList();
    const HWND pane = window.Window().DiagnosticsPane();
    const HACCEL accelerators = ProgramAccelerators();
    ASSERT_TRUE(accelerators);

    ASSERT_TRUE(window.SendAndWaitForRows("a row", 1));
    diag::Report(0, L"pane text\r\n");
    ASSERT_TRUE(PumpUntil([&] { return PaneText(pane) == "pane text\r\n"; }));

    const HWND focusPlaces[] = {pane, list, main};
    bool captureExpected = true;
    for (const HWND focus : focusPlaces) {
        SCOPED_TRACE(focus == pane ? "pane" : focus == list ? "list" : "main window");
        ASSERT_TRUE(FocusOn(main, focus));
        // Ctrl+C follows Ctrl+O: once it has toggled the switch, Ctrl+O has been handled.
        ASSERT_TRUE(testing_support::PressControlChord('O'));
        ASSERT_TRUE(testing_support::PressControlChord('C'));
        captureExpected = !captureExpected;
        bool dialogSeen = false;
        EXPECT_TRUE(LoopRun(
                        accelerators, [&] { return window.Window().CaptureOn() == captureExpected; },
                        [&] { EnumThreadWindows(GetCurrentThreadId(), CancelDialog, reinterpret_cast<LPARAM>(&dialogSeen)); })
                        .Run());
        EXPECT_FALSE(dialogSeen);
        EXPECT_TRUE(IsWindowEnabled(main));
        EXPECT_EQ(1, messagelog::RowCount(list));
        EXPECT_EQ("pane text\r\n", PaneText(pane));
        EXPECT_EQ(0, window.Window().Settings()->ToFile);
        EXPECT_FALSE(window.Window().CaptureFileOpen());
    }
    DestroyAcceleratorTable(accelerators);
}

}  // namespace
