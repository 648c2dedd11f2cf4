// ListFinder.h: Find, Find Next and Find Previous over the Message list, with the system's Find dialog.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "list/MessageList.h"

namespace app {

class ListFinder {
public:
    ListFinder();
    ListFinder(const ListFinder&) = delete;
    ListFinder& operator=(const ListFinder&) = delete;

    // The registered message by which the Find dialog reports to its owner.
    UINT DialogMessage() const { return dialogMessage_; }
    HWND Dialog() const { return dialog_; }

    // Opens the Find dialog, or gives the open one the focus.
    void OpenDialog(HWND owner);
    // A search asked for in the dialog, or its closing. The message's long
    // parameter is trusted only as the address of our own dialog data: any
    // program can post the registered message with anything in it.
    void OnDialogMessage(HWND owner, list::MessageList& messages, LPARAM notice);
    // The last text searched for again, downwards or upwards; with none yet, the Find dialog.
    void FindAgain(HWND owner, list::MessageList& messages, bool down);
    // Closes the dialog, if open, before its owner goes.
    void CloseDialog();

private:
    void Find(HWND owner, list::MessageList& messages, bool down);

    static constexpr WORD kTextCapacity = 256;

    UINT dialogMessage_;
    char text_[kTextCapacity] = {};
    FINDREPLACEA dialogData_{};  // the open dialog reads and writes it
    HWND dialog_ = nullptr;
};

}  // namespace app
