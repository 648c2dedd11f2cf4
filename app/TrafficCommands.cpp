// TrafficCommands.cpp: the Main window's pause of the list, its status bar and its Traffic window.
#include "app/MainWindow.h"

#include "res/resource.h"

namespace app {

bool MainWindow::OnTrafficCommand(WORD commandId) {
    switch (commandId) {
    case ID_VIEW_PAUSE:
        TogglePause();
        return true;
    default:
        return false;
    }
}

void MainWindow::CheckTrafficItems(HMENU popup) {
    CheckMenuItem(popup, ID_VIEW_PAUSE, MF_BYCOMMAND | (messageList_.Paused() ? MF_CHECKED : MF_UNCHECKED));
}

// Records keep arriving into the book and the Capture file meanwhile; the title counts them.
void MainWindow::TogglePause() {
    if (messageList_.Paused())
        messageList_.Resume(settings_ && settings_->Autoscroll);
    else
        messageList_.Pause();
    ShowFilterInTitle();
}

}  // namespace app
