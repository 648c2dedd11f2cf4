// OptionsDialogTest.cpp: the Options dialog driven in its own loop, and what its OK does to the Capture file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "list/MessageList.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogDriver.h"

namespace {

using dialog_driver::FindOptions;
using dialog_driver::ModalScript;
using testing_support::LoopbackLine;
using testing_support::RunningMainWindow;
using testing_support::SettingsIni;
using testing_support::SystemText;

bool Checked(HWND dialog, int checkBoxId) {
    return IsDlgButtonChecked(dialog, checkBoxId) == BST_CHECKED;
}

// Hands a record to the Main window as the receive thread does, but at once:
// for records that leave no row to wait for.
void DeliverRecord(app::MainWindow& mainWindow, const std::string& message) {
    testing_support::DeliverRecord(mainWindow, testing_support::MakeRecord(message, "127.0.0.1"));
}

int IniNumber(const std::wstring& iniPath, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(L"Settings", key, -1, iniPath.c_str()));
}

std::wstring IniFileName(const std::wstring& iniPath) {
    wchar_t name[MAX_PATH] = {};
    GetPrivateProfileStringW(L"Settings", L"FileName", L"", name, MAX_PATH, iniPath.c_str());
    return name;
}

// The lines go after what the file held from an earlier run. While the file is
// open, before OK and after it, other programs may read it but not write to it.
TEST(OptionsDialog, OkWithNothingChangedReopensTheCaptureFileWithoutLosingOrRepeatingALine) {
    testing_support::TempFolder files;
    const std::wstring capture = files.File(L"capture.csv");
    const std::string earlier = "10.0.0.9,from an earlier run\r\n";
    testing_support::WriteFileBytes(capture, earlier);
    RunningMainWindow main(SettingsIni(1, 1, 1, capture));
    ASSERT_TRUE(main.Window().CaptureFileOpen());
    EXPECT_FALSE(testing_support::WritableByOthers(capture));
    ASSERT_TRUE(main.SendAndWaitForRows("before", 1));

    HWND dialog = nullptr;
    ModalScript script({FindOptions(dialog),
                        [&] {
                            // Records keep arriving while the dialog is open.
                            testing_support::SendDatagram(main.Port(), "during");
                            return true;
                        },
                        [&] { return win::ListView(main.Window().MessageList()).Count() == 2; },
                        [&] {
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    EXPECT_EQ(0, SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0));
    ASSERT_TRUE(script.Finished());

    // The close at OK wrote out what the stream held.
    EXPECT_EQ(earlier + LoopbackLine("before") + LoopbackLine("during"), testing_support::ReadFileBytes(capture));
    EXPECT_TRUE(main.Window().CaptureFileOpen());
    EXPECT_FALSE(testing_support::WritableByOthers(capture));
    EXPECT_TRUE(testing_support::ReadableByOthers(capture));
    ASSERT_TRUE(main.SendAndWaitForRows("after", 3));
    main.Close();
    EXPECT_EQ(earlier + LoopbackLine("before") + LoopbackLine("during") + LoopbackLine("after"), testing_support::ReadFileBytes(capture));
    EXPECT_TRUE(testing_support::WritableByOthers(capture));
}

// Any value but 0 shows checked and is stored as 1 after OK; 0 shows cleared,
// and a cleared To file greys the name and Browse.
TEST(OptionsDialog, OpensWithTheValuesAndStoresOneForEveryOtherThanZeroAtOk) {
    testing_support::TempFolder files;
    const std::wstring capture = files.File(L"capture.csv");
    for (const int value : {7, 0}) {
        SCOPED_TRACE(value);
        RunningMainWindow main(SettingsIni(value, value, value, capture));
        HWND dialog = nullptr;
        std::wstring shown;
        ModalScript script({FindOptions(dialog), [&] {
                                for (const int box : {IDC_AUTOSCROLL, IDC_DISPLAY, IDC_TO_FILE})
                                    shown += Checked(dialog, box) ? L'1' : L'0';
                                for (const int box : {IDC_FILE_NAME, IDC_BROWSE})
                                    shown += IsWindowEnabled(GetDlgItem(dialog, box)) ? L'1' : L'0';
                                shown += L' ' + dialog_driver::Text(GetDlgItem(dialog, IDC_FILE_NAME));
                                dialog_driver::PressButton(dialog, IDOK);
                                return true;
                            }});
        SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
        ASSERT_TRUE(script.Finished());

        const int stored = value ? 1 : 0;
        EXPECT_EQ((value ? L"11111 " : L"00000 ") + capture, shown);
        EXPECT_EQ(stored, main.Window().Settings()->ToDisplay);
        main.Close();
        for (const wchar_t* key : {L"Autoscroll", L"ToDisplay", L"ToFile"})
            EXPECT_EQ(stored, IniNumber(main.IniPath(), key)) << key;
    }
}

TEST(OptionsDialog, TheToFileBoxEnablesAndDisablesTheNameAndBrowseAtOnce) {
    testing_support::TempFolder files;
    RunningMainWindow main(SettingsIni(1, 1, 1, files.File(L"capture.csv")));
    HWND dialog = nullptr;
    bool enabledAfterClear = true, browseAfterClear = true, enabledAfterCheck = false, browseAfterCheck = false;
    int toFileWhileOpen = -1;
    ModalScript script({FindOptions(dialog), [&] {
                            dialog_driver::Click(dialog, IDC_TO_FILE);
                            enabledAfterClear = IsWindowEnabled(GetDlgItem(dialog, IDC_FILE_NAME)) != FALSE;
                            browseAfterClear = IsWindowEnabled(GetDlgItem(dialog, IDC_BROWSE)) != FALSE;
                            toFileWhileOpen = main.Window().Settings()->ToFile;
                            dialog_driver::Click(dialog, IDC_TO_FILE);
                            enabledAfterCheck = IsWindowEnabled(GetDlgItem(dialog, IDC_FILE_NAME)) != FALSE;
                            browseAfterCheck = IsWindowEnabled(GetDlgItem(dialog, IDC_BROWSE)) != FALSE;
                            dialog_driver::PressButton(dialog, IDCANCEL);
                            return true;
                        }});
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_FALSE(enabledAfterClear);
    EXPECT_FALSE(browseAfterClear);
    EXPECT_EQ(1, toFileWhileOpen) << "the value changes only at OK";
    EXPECT_TRUE(enabledAfterCheck);
    EXPECT_TRUE(browseAfterCheck);
}

TEST(OptionsDialog, CancelEscapeAndTheCloseButtonKeepTheValues) {
    testing_support::TempFolder files;
    const std::wstring capture = files.File(L"capture.csv");
    RunningMainWindow main(SettingsIni(1, 1, 1, capture));

    for (void (*end)(HWND) : {+[](HWND dialog) { dialog_driver::PressButton(dialog, IDCANCEL); },
                              dialog_driver::PressEscape, dialog_driver::PressClose}) {
        HWND dialog = nullptr;
        bool allCleared = false;
        ModalScript script({FindOptions(dialog), [&] {
                                dialog_driver::Click(dialog, IDC_AUTOSCROLL);
                                dialog_driver::Click(dialog, IDC_DISPLAY);
                                dialog_driver::Click(dialog, IDC_TO_FILE);
                                allCleared = !Checked(dialog, IDC_AUTOSCROLL) && !Checked(dialog, IDC_DISPLAY) &&
                                             !Checked(dialog, IDC_TO_FILE);
                                SetWindowTextW(GetDlgItem(dialog, IDC_FILE_NAME), files.File(L"other.csv").c_str());
                                end(dialog);
                                return true;
                            }});
        SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
        ASSERT_TRUE(script.Finished());

        EXPECT_TRUE(allCleared);
        const settings::Settings& values = *main.Window().Settings();
        EXPECT_EQ(1, values.Autoscroll);
        EXPECT_EQ(1, values.ToDisplay);
        EXPECT_EQ(1, values.ToFile);
        EXPECT_EQ(capture, values.FileName);
        EXPECT_TRUE(main.Window().CaptureFileOpen());
    }
    ASSERT_TRUE(main.SendAndWaitForRows("still captured", 1));
    main.Close();
    EXPECT_EQ(LoopbackLine("still captured"), testing_support::ReadFileBytes(capture));
    EXPECT_EQ("", testing_support::ReadFileBytes(files.File(L"other.csv")));
}

// Browse proposes a name in the box; OK applies it, Cancel drops it.
TEST(OptionsDialog, BrowseFillsTheNameBoxAndOnlyOkAppliesIt) {
    testing_support::TempFolder files;
    const std::wstring oldCapture = files.File(L"old.csv");
    const std::wstring newCapture = files.File(L"new.csv");
    RunningMainWindow main(SettingsIni(1, 1, 1, oldCapture));

    for (const int ending : {IDCANCEL, IDOK}) {
        HWND dialog = nullptr, fileDialog = nullptr;
        std::wstring storedWhileOpen;
        ModalScript script({FindOptions(dialog),
                            [&] {
                                dialog_driver::PressButton(dialog, IDC_BROWSE);
                                return true;
                            },
                            [&] { return dialog_driver::ChooseInFileDialog(dialog, newCapture, fileDialog)(); },
                            [&] {
                                if (dialog_driver::Text(GetDlgItem(dialog, IDC_FILE_NAME)) != newCapture) return false;
                                storedWhileOpen = main.Window().Settings()->FileName;
                                dialog_driver::PressButton(dialog, ending);
                                return true;
                            }});
        SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
        ASSERT_TRUE(script.Finished());

        EXPECT_EQ(oldCapture, storedWhileOpen);
        EXPECT_EQ(ending == IDOK ? newCapture : oldCapture, main.Window().Settings()->FileName);
    }
    ASSERT_TRUE(main.SendAndWaitForRows("to the new file", 1));
    main.Close();
    EXPECT_EQ("", testing_support::ReadFileBytes(oldCapture));
    EXPECT_EQ(LoopbackLine("to the new file"), testing_support::ReadFileBytes(newCapture));
    EXPECT_EQ(newCapture, IniFileName(main.IniPath()));
}

// A relative capture name goes on naming the same file after a Browse into another folder.
TEST(OptionsDialog, BrowseLeavesTheCurrentFolderAsItWas) {
    testing_support::TempFolder home, elsewhere;
    const testing_support::CurrentFolderSet current(home.Path());
    RunningMainWindow main(SettingsIni(1, 1, 1, L"capture.csv"));
    ASSERT_TRUE(main.SendAndWaitForRows("before", 1));

    // Browse opens in the folder of the name in the box.
    HWND dialog = nullptr, fileDialog = nullptr;
    ModalScript browse({FindOptions(dialog),
                        [&] {
                            SetWindowTextW(GetDlgItem(dialog, IDC_FILE_NAME), elsewhere.File(L"typed.csv").c_str());
                            dialog_driver::PressButton(dialog, IDC_BROWSE);
                            return true;
                        },
                        [&] {
                            return dialog_driver::ChooseInFileDialog(dialog, elsewhere.File(L"chosen.csv"),
                                                                     fileDialog)();
                        },
                        [&] {
                            if (dialog_driver::Text(GetDlgItem(dialog, IDC_FILE_NAME)) != elsewhere.File(L"chosen.csv"))
                                return false;
                            dialog_driver::PressButton(dialog, IDCANCEL);
                            return true;
                        }});
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
    ASSERT_TRUE(browse.Finished());
    EXPECT_EQ(home.Path(), testing_support::CurrentFolder());

    ASSERT_TRUE(dialog_driver::ApplyOptionsUnchanged(main.Handle()));
    ASSERT_TRUE(main.SendAndWaitForRows("after", 2));
    main.Close();
    EXPECT_EQ(LoopbackLine("before") + LoopbackLine("after"), testing_support::ReadFileBytes(home.File(L"capture.csv")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(elsewhere.File(L"capture.csv").c_str()));
}

// Cut to 259 characters, as the name is held; the name typed is used at OK.
TEST(OptionsDialog, ATypedPathIsCutTo259CharactersAndUsedAfterOk) {
    testing_support::TempFolder files;
    const std::wstring oldCapture = files.File(L"old.csv");
    const std::wstring newCapture = files.File(L"new.csv");
    const std::wstring tooLong = L"C:\\" + std::wstring(300, L'n') + L".csv";
    RunningMainWindow main(SettingsIni(1, 1, 1, oldCapture));
    ASSERT_TRUE(main.SendAndWaitForRows("to the old file", 1));

    for (const std::wstring& typed : {tooLong, newCapture}) {
        HWND dialog = nullptr;
        ModalScript script({FindOptions(dialog), [&] {
                                SetWindowTextW(GetDlgItem(dialog, IDC_FILE_NAME), typed.c_str());
                                dialog_driver::PressButton(dialog, IDOK);
                                return true;
                            }});
        SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
        ASSERT_TRUE(script.Finished());
        EXPECT_EQ(typed.substr(0, 259), main.Window().Settings()->FileName);
    }
    ASSERT_TRUE(main.SendAndWaitForRows("to the new file", 2));
    main.Close();
    EXPECT_EQ(LoopbackLine("to the old file"), testing_support::ReadFileBytes(oldCapture));
    EXPECT_EQ(LoopbackLine("to the new file"), testing_support::ReadFileBytes(newCapture));
    EXPECT_EQ(newCapture, IniFileName(main.IniPath()));
}

TEST(OptionsDialog, OkWithToFileOnAndAnEmptyNameReportsTheFailedOpen) {
    RunningMainWindow main(SettingsIni(1, 1, 0, L""));
    HWND dialog = nullptr;
    ModalScript script({FindOptions(dialog), [&] {
                            dialog_driver::Click(dialog, IDC_TO_FILE);
                            SetWindowTextW(GetDlgItem(dialog, IDC_FILE_NAME), L"");
                            dialog_driver::PressButton(dialog, IDOK);
                            return true;
                        }});
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
    ASSERT_TRUE(script.Finished());
    const HWND pane = main.Window().DiagnosticsPane();
    ASSERT_TRUE(testing_support::PumpUntil([&] { return !testing_support::PaneText(pane).empty(); }));

    constexpr DWORD kPathNotFound = 0x80070003;
    EXPECT_EQ("Cannot open file \n\r\n[0x80070003] " + SystemText(kPathNotFound), testing_support::PaneText(pane));
    EXPECT_FALSE(main.Window().CaptureFileOpen());
    EXPECT_EQ(1, main.Window().Settings()->ToFile);
    // Records are still shown.
    EXPECT_TRUE(main.SendAndWaitForRows("shown", 1));
}

// OK with Display cleared: records are written but not shown; with To file
// cleared: the file is closed and records are shown but not written; with both:
// a record only goes, and says nothing.
TEST(OptionsDialog, DisplayAndToFileClearedAtOkKeepRecordsFromTheListAndTheFile) {
    testing_support::TempFolder files;
    const std::wstring capture = files.File(L"capture.csv");
    RunningMainWindow main(SettingsIni(1, 1, 1, capture));
    ASSERT_TRUE(main.SendAndWaitForRows("shown", 1));
    const long recordsBefore = net::SyslogRecordsAlive();
    const struct {
        int clicked;
        const char* message;
        int rows;
        std::string written;
        bool fileOpen;
    } steps[] = {
        {IDC_DISPLAY, "written only", 1, LoopbackLine("shown") + LoopbackLine("written only"), true},
        {IDC_DISPLAY, "both", 2, LoopbackLine("shown") + LoopbackLine("written only") + LoopbackLine("both"), true},
        {IDC_TO_FILE, "shown only", 3, LoopbackLine("shown") + LoopbackLine("written only") + LoopbackLine("both"), false},
        {IDC_DISPLAY, "goes nowhere", 3, LoopbackLine("shown") + LoopbackLine("written only") + LoopbackLine("both"), false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.message);
        HWND dialog = nullptr;
        ModalScript script({FindOptions(dialog), [&] {
                                dialog_driver::Click(dialog, step.clicked);
                                dialog_driver::PressButton(dialog, IDOK);
                                return true;
                            }});
        SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
        ASSERT_TRUE(script.Finished());
        EXPECT_EQ(step.fileOpen, main.Window().CaptureFileOpen());

        DeliverRecord(main.Window(), step.message);
        EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive()) << "the record is released, not kept";
        EXPECT_EQ(step.rows, win::ListView(main.Window().MessageList()).Count());
        EXPECT_EQ(step.written, testing_support::ReadFileBytes(capture));
    }
    EXPECT_EQ("", testing_support::PaneText(main.Window().DiagnosticsPane()));
}

}  // namespace

namespace {

// Each text typed into the box and OK: a number out of range, or no number,
// is named in a message box and the dialog stays open on the box, changing
// nothing; one in range, grouped as the locale writes it or not, is kept and
// lets the oldest rows go at once.
TEST(OptionsDialog, RowsToKeepOutOfRangeAreRefusedOnTheBoxAndInRangeLetTheOldestGo) {
    RunningMainWindow main;
    ASSERT_TRUE(testing_support::DeliverBurst(main.Window(), 1200, [](int row) {
        return testing_support::MakeRecord("row " + std::to_string(row));
    }));
    const struct {
        const wchar_t* typed;
        bool refused;
        size_t kept;
    } cases[] = {
        {L"999", true, 1000000},          {L"100,000,001", true, 1000000}, {L"many", true, 1000000},
        {L"", true, 1000000},             {L"1,0,00", false, 1000},        {L"2,000", false, 2000},
        {L" 100000000 ", false, 100000000}, {L"1000", false, 1000},
    };
    size_t held = 1200;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing_support::Narrow(c.typed));
        const size_t keptBefore = main.Window().Settings()->KeepRows;
        HWND dialog = nullptr;
        HWND box = nullptr;
        std::wstring said;
        bool stayedOpenOnTheBox = false;
        const auto typeAndPressOk = [&] {
            box = GetDlgItem(dialog, IDC_KEEP_ROWS);
            SetWindowTextW(box, c.typed);
            dialog_driver::PressButton(dialog, IDOK);
            return true;
        };
        const auto readTheMessage = [&] {
            const HWND message = dialog_driver::FindDialogOwnedBy(dialog);
            if (!message) return false;
            said = dialog_driver::StaticText(message);
            dialog_driver::PressButton(message, IDOK);
            return true;
        };
        const auto cancelOnTheBox = [&] {
            if (dialog_driver::FindDialogOwnedBy(dialog)) return false;
            // Another test's window may have been made active meanwhile: the
            // dialog, brought back, gives the focus to the control it keeps.
            SetForegroundWindow(dialog);
            stayedOpenOnTheBox = IsWindowVisible(dialog) && GetFocus() == box;
            dialog_driver::PressButton(dialog, IDCANCEL);
            return true;
        };
        ModalScript script = c.refused ? ModalScript({FindOptions(dialog), typeAndPressOk, readTheMessage, cancelOnTheBox})
                                       : ModalScript({FindOptions(dialog), typeAndPressOk});
        SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_OPTIONS, 0);
        ASSERT_TRUE(script.Finished());
        if (c.refused) {
            EXPECT_EQ(L"Keep the newest rows: enter a number from 1,000 to 100,000,000.", said);
            EXPECT_TRUE(stayedOpenOnTheBox);
            EXPECT_EQ(keptBefore, main.Window().Settings()->KeepRows);
        }
        EXPECT_EQ(c.kept, main.Window().Settings()->KeepRows);
        held = std::min(held, c.kept);  // raising the number brings no row back
        EXPECT_EQ(held, main.Window().Book().Held().Count());
    }
    EXPECT_EQ("row 200", std::string(main.Window().Book().Held().Row(0).message));
    main.Close();
    EXPECT_EQ(1000, IniNumber(main.IniPath(), L"KeepRows"));
}

}  // namespace
