// SaveCommandTest.cpp: the Save command through the real save-file dialog, driven in its own loop.
#include <gtest/gtest.h>

#include <string>

#include "list/MessageList.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogDriver.h"

namespace {

using dialog_driver::ModalScript;
using testing_support::Narrow;
using testing_support::LoopbackLine;
using testing_support::RunningMainWindow;
using testing_support::SettingsSection;
using testing_support::SystemText;

// Answers the file dialog's replace question with Yes.
ModalScript::Step ConfirmReplace(HWND& fileDialog) {
    return [&fileDialog] {
        const HWND question = dialog_driver::FindDialogOwnedBy(fileDialog);
        if (!question || !GetDlgItem(question, IDYES)) return false;
        dialog_driver::PressButton(question, IDYES);
        return true;
    };
}

bool FolderIsEmpty(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") empty = false;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

TEST(SaveCommand, WritesTheCaptureLinesOfTheRowsTheListShowsInListOrder) {
    RunningMainWindow main;
    ASSERT_TRUE(main.SendAndWaitForRows("<13>first plain", 1));
    ASSERT_TRUE(main.SendAndWaitForRows("with, two, commas", 2));
    ASSERT_TRUE(main.SendAndWaitForRows("say \"hi\" without comma", 3));
    ASSERT_TRUE(main.SendAndWaitForRows("\"quoted\", and comma", 4));
    ASSERT_TRUE(main.SendAndWaitForRows("inner\nline feed\r\n", 5));
    ASSERT_TRUE(main.SendAndWaitForRows("", 6));
    // Paused, the list does not show what arrives meanwhile, and Save does not write it.
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_PAUSE, 0);
    testing_support::DeliverRecord(main.Window(), testing_support::MakeRecord("arrived while paused"));
    ASSERT_EQ(7u, main.Window().StoredRows().Count());
    testing_support::TempFolder target;
    const std::wstring saved = target.File(L"saved.txt");

    HWND fileDialog = nullptr;
    ModalScript script({dialog_driver::ChooseInFileDialog(main.Handle(), saved, fileDialog)});
    EXPECT_EQ(0, SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_SAVE, 0));
    ASSERT_TRUE(script.Finished());

    EXPECT_EQ(LoopbackLine("<13>first plain") + LoopbackLine("\"with, two, commas\"") +
                  LoopbackLine("say \"hi\" without comma") + LoopbackLine("\"\"quoted\", and comma\"") +
                  "127.0.0.1,inner\r\nline feed\r\n" + LoopbackLine(""),
              testing_support::ReadFileBytes(saved));
    EXPECT_EQ(6, win::ListView(main.Window().MessageList()).Count());
    dialog_driver::DispatchPending();
    EXPECT_EQ("", testing_support::PaneText(main.Window().DiagnosticsPane()));
}

TEST(SaveCommand, AnEmptyListGivesAnEmptyFile) {
    RunningMainWindow main;
    testing_support::TempFolder target;
    const std::wstring saved = target.File(L"empty.txt");

    HWND fileDialog = nullptr;
    ModalScript script({dialog_driver::ChooseInFileDialog(main.Handle(), saved, fileDialog)});
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_SAVE, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(saved.c_str()));
    EXPECT_EQ("", testing_support::ReadFileBytes(saved));
}

TEST(SaveCommand, ANameWithoutExtensionGetsTxt) {
    RunningMainWindow main;
    ASSERT_TRUE(main.SendAndWaitForRows("one", 1));
    testing_support::TempFolder target;

    HWND fileDialog = nullptr;
    ModalScript script({dialog_driver::ChooseInFileDialog(main.Handle(), target.File(L"bare"), fileDialog)});
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_SAVE, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_EQ(LoopbackLine("one"), testing_support::ReadFileBytes(target.File(L"bare.TXT")));
}

TEST(SaveCommand, AnExistingFileIsReplacedAfterConfirmation) {
    RunningMainWindow main;
    ASSERT_TRUE(main.SendAndWaitForRows("new content", 1));
    testing_support::TempFolder target;
    const std::wstring saved = target.File(L"existing.txt");
    testing_support::WriteFileBytes(saved, "old content that is longer than the new\r\n");

    HWND fileDialog = nullptr;
    ModalScript script({dialog_driver::ChooseInFileDialog(main.Handle(), saved, fileDialog), ConfirmReplace(fileDialog)});
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_SAVE, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_EQ(LoopbackLine("new content"), testing_support::ReadFileBytes(saved));
}

TEST(SaveCommand, CancellingWritesNothingAndSaysNothing) {
    RunningMainWindow main;
    ASSERT_TRUE(main.SendAndWaitForRows("kept", 1));
    testing_support::TempFolder target;

    HWND fileDialog = nullptr;
    ModalScript script({[&] {
        fileDialog = dialog_driver::FindDialogOwnedBy(main.Handle());
        if (!fileDialog || !dialog_driver::FileNameBox(fileDialog)) return false;
        SetWindowTextW(dialog_driver::FileNameBox(fileDialog), target.File(L"never.txt").c_str());
        dialog_driver::PressButton(fileDialog, IDCANCEL);
        return true;
    }});
    EXPECT_EQ(0, SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_SAVE, 0));
    ASSERT_TRUE(script.Finished());
    dialog_driver::DispatchPending();

    EXPECT_TRUE(FolderIsEmpty(target.Path()));
    EXPECT_EQ("", testing_support::PaneText(main.Window().DiagnosticsPane()));
    EXPECT_EQ(1, win::ListView(main.Window().MessageList()).Count());
}

// A relative capture name goes on naming the same file after a Save into another folder.
TEST(SaveCommand, SavingElsewhereLeavesTheCurrentFolderAsItWas) {
    testing_support::TempFolder home, elsewhere;
    const testing_support::CurrentFolderSet current(home.Path());
    RunningMainWindow main(SettingsSection({{"ToFile", "1"}, {"FileName", "capture.csv"}}));
    ASSERT_TRUE(main.SendAndWaitForRows("before", 1));

    // The second Save opens in the folder the first one chose.
    for (const wchar_t* name : {L"first.txt", L"saved.txt"}) {
        HWND fileDialog = nullptr;
        ModalScript save({dialog_driver::ChooseInFileDialog(main.Handle(), elsewhere.File(name), fileDialog)});
        SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_SAVE, 0);
        ASSERT_TRUE(save.Finished());
        EXPECT_EQ(home.Path(), testing_support::CurrentFolder());
    }

    ASSERT_TRUE(dialog_driver::ApplyOptionsUnchanged(main.Handle()));
    ASSERT_TRUE(main.SendAndWaitForRows("after", 2));
    main.Close();
    EXPECT_EQ(LoopbackLine("before"), testing_support::ReadFileBytes(elsewhere.File(L"saved.txt")));
    EXPECT_EQ(LoopbackLine("before") + LoopbackLine("after"), testing_support::ReadFileBytes(home.File(L"capture.csv")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(elsewhere.File(L"capture.csv").c_str()));
}

TEST(SaveCommand, ChoosingTheOpenCaptureFileIsReportedAndDisturbsNothing) {
    testing_support::TempFolder files;
    const std::wstring capture = files.File(L"capture.csv");
    testing_support::WriteFileBytes(capture, "earlier run\r\n");
    RunningMainWindow main(SettingsSection({{"ToFile", "1"}, {"FileName", Narrow(capture)}}));
    ASSERT_TRUE(main.Window().CaptureFileOpen());
    ASSERT_TRUE(main.SendAndWaitForRows("before the save", 1));
    // Whatever of the capture stream has reached the disk by now must stay as it is.
    const std::string captureBefore = testing_support::ReadFileBytes(capture);
    ASSERT_EQ(0u, captureBefore.find("earlier run\r\n"));

    HWND fileDialog = nullptr;
    ModalScript script({dialog_driver::ChooseInFileDialog(main.Handle(), capture, fileDialog), ConfirmReplace(fileDialog)});
    SendMessageW(main.Handle(), WM_COMMAND, ID_VIEW_SAVE, 0);
    ASSERT_TRUE(script.Finished());
    const HWND pane = main.Window().DiagnosticsPane();
    ASSERT_TRUE(testing_support::PumpUntil([&] { return !testing_support::PaneText(pane).empty(); }));

    constexpr DWORD kSharingViolation = 0x80070020;
    EXPECT_EQ("Cannot open file\n" + Narrow(capture) + "\n\r\n[0x80070020] " + SystemText(kSharingViolation),
              testing_support::PaneText(pane));
    EXPECT_EQ(captureBefore, testing_support::ReadFileBytes(capture)) << "not emptied";
    EXPECT_TRUE(main.Window().CaptureFileOpen());
    ASSERT_TRUE(main.SendAndWaitForRows("after the save", 2));
    main.Close();
    EXPECT_EQ("earlier run\r\n" + LoopbackLine("before the save") + LoopbackLine("after the save"),
              testing_support::ReadFileBytes(capture));
}

}  // namespace
