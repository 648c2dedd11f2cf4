// OptionsEditor.cpp: running the Options dialog on the Settings.
#include "ui/OptionsEditor.h"

#include "res/resource.h"
#include "ui/OptionsDialog.h"

namespace ui {

bool OptionsEditor::Edit(HWND owner, settings::Settings& settings) {
    return win::EditInDialog<OptionsDialog>(owner, IDD_OPTIONS, settings, browseDialog_);
}

}  // namespace ui
