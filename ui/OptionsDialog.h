// OptionsDialog.h: the modal dialog that edits a Settings.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "settings/Settings.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_OPTIONS. The Settings change only at OK.
class OptionsDialog : public win::ModalDialog {
public:
    // browseDialog outlives the dialog: the file type chosen in a Browse is offered again.
    OptionsDialog(settings::Settings& settings, OPENFILENAMEW& browseDialog)
        : settings_(settings), browseDialog_(browseDialog) {}

protected:
    bool OnInit() override;
    bool OnOK() override;
    bool OnCommand(WORD commandId, WORD notificationCode) override;

private:
    // The number of rows to keep from its box; false, after saying so, when it is no number in range.
    bool ReadKeepRows(size_t& rows);
    void OnBrowse();
    void OnToFileClicked();
    void EnableFileChoice(bool enabled);

    settings::Settings& settings_;
    OPENFILENAMEW& browseDialog_;
};

}  // namespace ui
