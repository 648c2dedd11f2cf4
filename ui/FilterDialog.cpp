// FilterDialog.cpp: the filter's fields filled as the dialog opens and read back at OK.
#include "ui/FilterDialog.h"

#include <new>
#include <utility>

#include "res/resource.h"
#include "ui/ConditionFields.h"

namespace ui {

bool FilterDialog::OnInit() {
    FillConditionChoices(Handle(), choices_);
    ShowConditions(Handle(), filter_, choices_);
    return true;
}

// Runs inside the dialog procedure: without memory for the fields the dialog stays open.
bool FilterDialog::OnOK() {
    try {
        records::RowFilter chosen = ReadConditions(Handle(), choices_);
        std::swap(filter_, chosen);
    } catch (const std::bad_alloc&) {
        return true;
    }
    return win::ModalDialog::OnOK();
}

bool FilterDialog::OnCommand(WORD commandId, WORD notificationCode) {
    if (commandId != IDC_FILTER_CLEAR || notificationCode != BN_CLICKED) return false;
    ShowConditions(Handle(), records::RowFilter(), choices_);
    return true;
}

bool EditFilter(HWND owner, records::RowFilter& filter, const records::RecordStore& rows) {
    return EditConditions<FilterDialog>(owner, IDD_FILTER, filter, filter, rows);
}

}  // namespace ui
