// ListCommands.cpp: the Main window's find, copy, select-all and colour commands, and the list's right-click menu.
#include "app/MainWindow.h"

#include <windowsx.h>

#include "diag/DiagnosticReporter.h"
#include "res/resource.h"

namespace app {

bool MainWindow::OnListCommand(WORD commandId) {
    switch (commandId) {
    case ID_VIEW_FIND:
        finder_.OpenDialog(Handle());
        return true;
    case ID_FIND_NEXT:
        finder_.FindAgain(Handle(), messageList_, true);
        return true;
    case ID_FIND_PREVIOUS:
        finder_.FindAgain(Handle(), messageList_, false);
        return true;
    case ID_EDIT_COPY:
        // In the Diagnostics pane the key copies the pane's own selection, as in any edit box.
        if (GetFocus() == pane_)
            SendMessageA(pane_, WM_COPY, 0, 0);
        else
            CopyRows();
        return true;
    case ID_EDIT_SELECT_ALL:
        messageList_.SelectAll();
        return true;
    case ID_VIEW_COLOURS:
        settings_->Colours = settings_->Colours ? 0 : 1;
        InvalidateRect(messageList_.Handle(), nullptr, TRUE);
        return true;
    default:
        return false;
    }
}

void MainWindow::CopyRows() {
    if (!messageList_.CopySelected(Handle()))
        diag::Report(StatusFromError(static_cast<long>(GetLastError())), L"Cannot copy to the clipboard\r\n");
}

// Copy (greyed while no row is selected), Select all and the filter's items,
// at the pointer for the row under it or, from the keyboard, at the list's
// top-left corner for the current row.
bool MainWindow::OnContextMenu(HWND window, LPARAM position) {
    if (window != messageList_.Handle()) return false;
    POINT at = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    int senderRow = -1;
    if (position == -1) {
        at = {0, 0};
        ClientToScreen(messageList_.Handle(), &at);
        senderRow = messageList_.CurrentRow();
    } else {
        senderRow = messageList_.RowAtScreen(at);
    }
    const HMENU menu = LoadMenuA(win::ModuleInstance(), MAKEINTRESOURCEA(IDR_LIST_MENU));
    if (!menu) return true;
    const HMENU popup = GetSubMenu(menu, 0);
    const bool anySelected = messageList_.AnySelected();
    EnableMenuItem(popup, ID_EDIT_COPY, MF_BYCOMMAND | (anySelected ? MF_ENABLED : MF_GRAYED));
    filters_.AddRowItems(popup, senderRow);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    // The right click gave the list the focus.
    if (chosen && !OnListCommand(static_cast<WORD>(chosen))) OnFilterCommand(static_cast<WORD>(chosen));
    return true;
}

}  // namespace app
