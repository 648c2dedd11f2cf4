// OptionsEditor.h: the Options command's dialog over the Settings, and what it keeps for the run.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "settings/Settings.h"

namespace ui {

class OptionsEditor {
public:
    // Shows the Options dialog over owner; true when it ended with OK, which
    // stored the choices in settings. Any other ending leaves them as they were.
    bool Edit(HWND owner, settings::Settings& settings);

private:
    // Kept for the whole run, so a Browse opens on the file type chosen last time.
    OPENFILENAMEW browseDialog_{};
};

}  // namespace ui
