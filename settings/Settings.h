// Settings.h: the four options kept in the INI file, and the Options dialog that edits them.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "settings/IniPath.h"
#include "win/ModalDialog.h"

namespace settings {

// Read from the INI file when made, written back when destroyed. The object is
// also the Options dialog's window object, so the dialog edits the live values.
class Settings : public win::ModalDialog {
public:
    explicit Settings(const wchar_t* iniPath);
    ~Settings() override;

    const wchar_t* IniPath() const { return iniPath_; }

    int Autoscroll;
    int ToDisplay;
    int ToFile;
    wchar_t FileName[kPathCapacity];
    int Colours;  // rows drawn in their severity's colours

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnInitDialog();
    void OnOk();
    void OnBrowse();
    void OnToFileClicked();
    void EnableFileChoice(bool enabled);

    wchar_t iniPath_[kPathCapacity];
    // Kept for the whole run, so a Browse opens on the file type chosen last time.
    OPENFILENAMEW browseDialog_{};
};

}  // namespace settings
