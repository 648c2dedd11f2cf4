// FocusAndDpi.cpp: the Main window's keyboard focus across activations, and a move to a screen of another DPI.
#include "app/MainWindow.h"

#include "list/MessageList.h"

namespace app {

// The child that had the focus gets it back when the window is active again
// (after the Find dialog or another program); otherwise the window keeps it.
bool MainWindow::OnActivate(WORD state, bool minimised) {
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        focusedChild_ = IsChild(Handle(), focus) ? focus : nullptr;
        return false;
    }
    if (minimised || !focusedChild_ || !IsChild(Handle(), focusedChild_)) return false;
    SetFocus(focusedChild_);
    return true;
}

// The columns and the bar take the new screen's size; the window takes the place the system suggests.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    messageList_.ScaleColumnWidths(dpi_, dpi);
    dpi_ = dpi;
    splitter_.SetDpi(dpi);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(Handle(), &client);
    splitter_.Layout(client.right, client.bottom);
}

}  // namespace app
