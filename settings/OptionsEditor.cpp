// OptionsEditor.cpp: running the Options dialog on the Settings.
#include "settings/OptionsEditor.h"

#include "res/resource.h"
#include "settings/OptionsDialog.h"

namespace settings {

bool OptionsEditor::Edit(HWND owner, Settings& settings) {
    OptionsDialog dialog(settings, browseDialog_);
    return dialog.RunModal(owner, IDD_OPTIONS) == IDOK;
}

}  // namespace settings
