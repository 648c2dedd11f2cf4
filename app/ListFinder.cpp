// ListFinder.cpp: the dialog's state, the search from the current row, and "Cannot find".
#include "app/ListFinder.h"

#include <cstdio>

#include "app/MainWindowClassName.h"

namespace app {

namespace {
const char kNotFoundFormat[] = "Cannot find \"%s\"";
}  // namespace

ListFinder::ListFinder() : dialogMessage_(RegisterWindowMessageA(FINDMSGSTRINGA)) {
    dialogData_.lStructSize = sizeof dialogData_;
    dialogData_.Flags = FR_DOWN | FR_HIDEWHOLEWORD;
    dialogData_.lpstrFindWhat = text_;
    dialogData_.wFindWhatLen = kTextCapacity;
}

void ListFinder::OpenDialog(HWND owner) {
    if (dialog_) {
        SetFocus(dialog_);
        return;
    }
    dialogData_.hwndOwner = owner;
    // Only the choices carry over from the last time; the notices do not.
    dialogData_.Flags = (dialogData_.Flags & (FR_DOWN | FR_MATCHCASE)) | FR_HIDEWHOLEWORD;
    dialog_ = FindTextA(&dialogData_);
}

void ListFinder::OnDialogMessage(HWND owner, list::MessageList& messages, LPARAM notice) {
    if (notice != reinterpret_cast<LPARAM>(&dialogData_) || !dialog_) return;
    if (dialogData_.Flags & FR_DIALOGTERM)
        dialog_ = nullptr;
    else if (dialogData_.Flags & FR_FINDNEXT)
        Find(owner, messages, (dialogData_.Flags & FR_DOWN) != 0);
}

void ListFinder::FindAgain(HWND owner, list::MessageList& messages, bool down) {
    if (text_[0] == '\0')
        OpenDialog(owner);
    else
        Find(owner, messages, down);
}

void ListFinder::CloseDialog() {
    if (dialog_) DestroyWindow(dialog_);
    dialog_ = nullptr;
}

// The search does not wrap around: at the end (or the top) it says so, as Notepad does.
void ListFinder::Find(HWND owner, list::MessageList& messages, bool down) {
    if (messages.Find(records::TextMatcher(text_, (dialogData_.Flags & FR_MATCHCASE) != 0), down)) return;
    char message[sizeof kNotFoundFormat + kTextCapacity];
    std::snprintf(message, sizeof message, kNotFoundFormat, text_);
    MessageBoxA(dialog_ ? dialog_ : owner, message, kMainWindowTitle, MB_OK | MB_ICONINFORMATION);
}

}  // namespace app
