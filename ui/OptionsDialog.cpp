// OptionsDialog.cpp: the Options dialog's check boxes, name box and Browse.
#include "ui/OptionsDialog.h"

#include <cwchar>

#include "res/resource.h"
#include "win/LocaleNumber.h"

namespace ui {

namespace {

const wchar_t kCaptureFileFilter[] = L"CSV Files (*.CSV)\0*.CSV\0All files (*.*)\0*.*\0";
const wchar_t kCaptureFileExtension[] = L"CSV";
const wchar_t kKeepRowsRange[] = L"Keep the newest rows: enter a number from %ls to %ls.";
constexpr int kKeepRowsTextCapacity = 64;
constexpr size_t kRangeTextCapacity = sizeof kKeepRowsRange / sizeof kKeepRowsRange[0] + 2 * win::kGroupedCountCapacity;

}  // namespace

// Shows the values; the focus is left to where the dialog manager puts it.
bool OptionsDialog::OnInit() {
    Check(IDC_AUTOSCROLL, settings_.Autoscroll != 0);
    Check(IDC_DISPLAY, settings_.ToDisplay != 0);
    Check(IDC_TO_FILE, settings_.ToFile != 0);
    EnableFileChoice(settings_.ToFile != 0);
    SetDlgItemTextW(Handle(), IDC_FILE_NAME, settings_.FileName);
    wchar_t keepRows[win::kGroupedCountCapacity];
    win::FormatGroupedCount(settings_.KeepRows, keepRows);
    SetDlgItemTextW(Handle(), IDC_KEEP_ROWS, keepRows);
    return false;
}

// Stores what the user chose, the name in the box included. A number of
// rows out of range keeps the dialog open, on that box, and stores nothing.
bool OptionsDialog::OnOK() {
    size_t keepRows = 0;
    if (!ReadKeepRows(keepRows)) return true;
    settings_.KeepRows = keepRows;
    settings_.Autoscroll = IsChecked(IDC_AUTOSCROLL) ? 1 : 0;
    settings_.ToDisplay = IsChecked(IDC_DISPLAY) ? 1 : 0;
    settings_.ToFile = IsChecked(IDC_TO_FILE) ? 1 : 0;
    GetDlgItemTextW(Handle(), IDC_FILE_NAME, settings_.FileName, MAX_PATH);
    return win::ModalDialog::OnOK();
}

bool OptionsDialog::OnCommand(WORD commandId, WORD notificationCode) {
    if (notificationCode != BN_CLICKED) return false;
    switch (commandId) {
    case IDC_BROWSE:
        OnBrowse();
        return true;
    case IDC_TO_FILE:
        OnToFileClicked();
        return true;
    default:
        return false;
    }
}

bool OptionsDialog::ReadKeepRows(size_t& rows) {
    wchar_t text[kKeepRowsTextCapacity] = {};
    GetDlgItemTextW(Handle(), IDC_KEEP_ROWS, text, kKeepRowsTextCapacity);
    if (win::ReadGroupedCount(text, rows) && rows >= settings::kFewestKeptRows && rows <= settings::kMostKeptRows) return true;
    wchar_t fewest[win::kGroupedCountCapacity];
    wchar_t most[win::kGroupedCountCapacity];
    win::FormatGroupedCount(settings::kFewestKeptRows, fewest);
    win::FormatGroupedCount(settings::kMostKeptRows, most);
    wchar_t message[kRangeTextCapacity];
    std::swprintf(message, kRangeTextCapacity, kKeepRowsRange, fewest, most);
    wchar_t caption[kKeepRowsTextCapacity] = {};
    GetWindowTextW(Handle(), caption, kKeepRowsTextCapacity);
    MessageBoxW(Handle(), message, caption, MB_OK | MB_ICONEXCLAMATION);
    const HWND box = GetDlgItem(Handle(), IDC_KEEP_ROWS);
    SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    SendMessageW(box, EM_SETSEL, 0, -1);
    return false;
}

void OptionsDialog::OnToFileClicked() {
    EnableFileChoice(IsChecked(IDC_TO_FILE));
}

void OptionsDialog::EnableFileChoice(bool enabled) {
    EnableWindow(GetDlgItem(Handle(), IDC_FILE_NAME), enabled);
    EnableWindow(GetDlgItem(Handle(), IDC_BROWSE), enabled);
}

// A chosen file goes into the name box only; OK applies it.
void OptionsDialog::OnBrowse() {
    wchar_t chosen[MAX_PATH] = {};
    GetDlgItemTextW(Handle(), IDC_FILE_NAME, chosen, MAX_PATH);
    browseDialog_.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    browseDialog_.hwndOwner = Handle();
    browseDialog_.hInstance = GetModuleHandleW(nullptr);
    browseDialog_.lpstrFilter = kCaptureFileFilter;
    browseDialog_.lpstrFile = chosen;
    browseDialog_.nMaxFile = MAX_PATH;
    browseDialog_.lpstrInitialDir = nullptr;
    // The current folder stays put, so a relative capture name keeps naming the same file.
    browseDialog_.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    browseDialog_.lpstrDefExt = kCaptureFileExtension;
    const BOOL choseFile = GetSaveFileNameW(&browseDialog_);
    browseDialog_.lpstrFile = nullptr;  // the buffer lives only for this Browse
    if (choseFile) SetDlgItemTextW(Handle(), IDC_FILE_NAME, chosen);
}

}  // namespace ui
