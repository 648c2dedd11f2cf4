// TrafficCommands.cpp: the Main window's pause of the list, its status bar and its Traffic window.
#include "app/MainWindow.h"

#include "diag/DiagnosticReporter.h"
#include "res/resource.h"

namespace app {

bool MainWindow::OnTrafficCommand(WORD commandId) {
    switch (commandId) {
    case ID_VIEW_PAUSE:
        TogglePause();
        return true;
    case ID_VIEW_TRAFFIC:
        if (!traffic_.Open(Handle(), traffic_.LastPlace() ? traffic_.LastPlace() : settings_->TrafficWindow))
            diag::Report(StatusFromError(static_cast<long>(GetLastError())), L"Cannot open the Traffic window\n");
        return true;
    case ID_VIEW_STATUS_BAR:
        ShowStatusBar(!statusBar_.IsShown());
        settings_->StatusBar = statusBar_.IsShown() ? 1 : 0;
        return true;
    default:
        return false;
    }
}

void MainWindow::CheckTrafficItems(HMENU popup) {
    CheckMenuItem(popup, ID_VIEW_PAUSE, MF_BYCOMMAND | (messageList_.Paused() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_VIEW_STATUS_BAR, MF_BYCOMMAND | (statusBar_.IsShown() ? MF_CHECKED : MF_UNCHECKED));
}

// Records keep arriving into the book and the Capture file meanwhile; the title counts them.
void MainWindow::TogglePause() {
    if (messageList_.Paused())
        messageList_.Resume(settings_ && settings_->Autoscroll);
    else
        messageList_.Pause();
    ShowTitle();
    statusBar_.Refresh(true);
}

// The list and the pane lie above the bar, laid out as in the whole client area before.
void MainWindow::ShowStatusBar(bool shown) {
    if (!statusBar_.Show(Handle(), shown))
        diag::Report(StatusFromError(static_cast<long>(GetLastError())), L"Cannot show the status bar\n");
    RECT client;
    GetClientRect(Handle(), &client);
    splitter_.SetReservedBottom(statusBar_.Layout());
    splitter_.Layout(client.right, client.bottom);
}

}  // namespace app
