// Commands.cpp: the Main window's menu and accelerator commands.
#include "app/MainWindow.h"

#include <utility>

#include "app/SaveCommand.h"
#include "diag/DiagnosticsPane.h"
#include "list/MessageList.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"

namespace app {

// Chosen by the command identifier alone, so a menu choice and an accelerator behave alike.
bool MainWindow::OnCommand(WORD commandId) {
    switch (commandId) {
    case ID_VIEW_CAPTURE:
        ToggleCapture();
        return true;
    case ID_VIEW_SAVE:
        RunSave();
        return true;
    case ID_VIEW_CLEAR:
        Clear();
        return true;
    case ID_VIEW_OPTIONS:
        RunOptions();
        return true;
    case ID_HELP_ABOUT:
        ui::RunAboutDialog(Handle());
        return true;
    default:
        return OnListCommand(commandId) || OnFilterCommand(commandId) || watch_.OnCommand(commandId, Handle(), iniPath_) ||
               columns_.OnCommand(commandId) || OnTrafficCommand(commandId);
    }
}

// The check marks show the capture switch, the colours and the columns whenever the View popup opens.
void MainWindow::OnInitMenuPopup(HMENU popup) {
    CheckMenuItem(popup, ID_VIEW_CAPTURE, MF_BYCOMMAND | (capture_.IsOn() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_VIEW_COLOURS, MF_BYCOMMAND | (settings_ && settings_->Colours ? MF_CHECKED : MF_UNCHECKED));
    const records::ShownRows& shown = book_.Shown();
    CheckMenuItem(popup, ID_VIEW_FILTER_ON, MF_BYCOMMAND | (shown.InForce() ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(popup, ID_VIEW_FILTER_ON, MF_BYCOMMAND | (shown.Filter().IsEmpty() ? MF_GRAYED : MF_ENABLED));
    columns_.CheckItems(popup);
    CheckTrafficItems(popup);
}

// Nothing else changes: the Capture file stays as it is. While it is off the title says so.
void MainWindow::ToggleCapture() {
    capture_.Toggle();
    ShowTitle();
}

void MainWindow::Clear() {
    messageList_.ForgetRows();
    book_.Clear();
    rowsKeptNotices_.Cleared();
    diag::ClearDiagnosticsPane(pane_);
    ShowTitle();
    statusBar_.Refresh(true);
}

// After OK the rows are drawn again under the new options, the Capture
// file is closed (which writes it out) and opened again, and the oldest rows
// leave when fewer are to be kept.
void MainWindow::RunOptions() {
    if (!options_.Edit(Handle(), *settings_)) return;
    InvalidateRect(messageList_.Handle(), nullptr, TRUE);
    captureFile_.Close();
    captureFile_.OpenIfWanted(*settings_);
    const records::Departure departure = book_.SetKeepRows(settings_->KeepRows);
    messageList_.RowsLeft(departure);
    rowsKeptNotices_.Departed(departure, settings_->KeepRows, captureFile_.IsOpen());
    ShowTitle();
}

void MainWindow::RunSave() {
    RunSaveCommand(Handle(), book_.Shown(), messageList_.ViewedRows());
}

// The filter's commands change the rows shown, which the title counts.
bool MainWindow::OnFilterCommand(WORD commandId) {
    if (!filters_.OnCommand(commandId, Handle(), ShowsNewest())) return false;
    ShowTitle();
    return true;
}

void MainWindow::ApplyFilter(records::RowFilter filter) {
    filters_.Apply(std::move(filter), ShowsNewest());
    ShowTitle();
}

}  // namespace app
