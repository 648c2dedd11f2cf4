// OptionsDialog.cpp: the Options dialog, run on the Settings object itself.
#include "settings/Settings.h"

#include <cwchar>

#include "res/resource.h"

namespace settings {

namespace {

const wchar_t kCaptureFileFilter[] = L"CSV Files (*.CSV)\0*.CSV\0All files (*.*)\0*.*\0";
const wchar_t kCaptureFileExtension[] = L"CSV";

int CheckedAsFlag(HWND dialog, int checkBoxId) {
    return IsDlgButtonChecked(dialog, checkBoxId) == BST_CHECKED ? 1 : 0;
}

void CheckFromValue(HWND dialog, int checkBoxId, int value) {
    CheckDlgButton(dialog, checkBoxId, value ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace

bool Settings::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return true;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOk();
            return true;
        case IDCANCEL:
            EndDialogWith(IDCANCEL);
            return true;
        case IDC_BROWSE:
            if (HIWORD(wParam) != BN_CLICKED) return false;
            OnBrowse();
            return true;
        case IDC_TO_FILE:
            if (HIWORD(wParam) != BN_CLICKED) return false;
            OnToFileClicked();
            return true;
        default:
            return false;
        }
    case WM_DESTROY:
        return true;
    default:
        return false;
    }
}

// Shows the live values; the focus is left to where the dialog manager puts it.
void Settings::OnInitDialog() {
    CheckFromValue(Handle(), IDC_AUTOSCROLL, Autoscroll);
    CheckFromValue(Handle(), IDC_DISPLAY, ToDisplay);
    CheckFromValue(Handle(), IDC_TO_FILE, ToFile);
    EnableFileChoice(ToFile != 0);
    SetDlgItemTextW(Handle(), IDC_FILE_NAME, FileName);
}

// Stores what the user chose, the typed file name included.
void Settings::OnOk() {
    Autoscroll = CheckedAsFlag(Handle(), IDC_AUTOSCROLL);
    ToDisplay = CheckedAsFlag(Handle(), IDC_DISPLAY);
    ToFile = CheckedAsFlag(Handle(), IDC_TO_FILE);
    GetDlgItemTextW(Handle(), IDC_FILE_NAME, FileName, kPathCapacity);
    EndDialogWith(IDOK);
}

void Settings::OnToFileClicked() {
    EnableFileChoice(CheckedAsFlag(Handle(), IDC_TO_FILE) != 0);
}

void Settings::EnableFileChoice(bool enabled) {
    EnableWindow(GetDlgItem(Handle(), IDC_FILE_NAME), enabled);
    EnableWindow(GetDlgItem(Handle(), IDC_BROWSE), enabled);
}

// A chosen file goes into the name box only; OK applies it.
void Settings::OnBrowse() {
    wchar_t chosen[kPathCapacity] = {};
    GetDlgItemTextW(Handle(), IDC_FILE_NAME, chosen, kPathCapacity);
    browseDialog_.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    browseDialog_.hwndOwner = Handle();
    browseDialog_.hInstance = GetModuleHandleW(nullptr);
    browseDialog_.lpstrFilter = kCaptureFileFilter;
    browseDialog_.lpstrFile = chosen;
    browseDialog_.nMaxFile = kPathCapacity;
    browseDialog_.lpstrInitialDir = nullptr;
    // The current folder stays put, so a relative capture name keeps naming the same file.
    browseDialog_.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    browseDialog_.lpstrDefExt = kCaptureFileExtension;
    const BOOL choseFile = GetSaveFileNameW(&browseDialog_);
    browseDialog_.lpstrFile = nullptr;  // the buffer lives only for this Browse
    if (choseFile) SetDlgItemTextW(Handle(), IDC_FILE_NAME, chosen);
}

}  // namespace settings
