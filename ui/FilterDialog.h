// FilterDialog.h: the modal dialog that edits the filter over the Message list's rows.
#pragma once

#include <windows.h>

#include <utility>

#include "records/RecordStore.h"
#include "records/RowFilter.h"
#include "ui/ConditionFields.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_FILTER. The filter changes only at OK.
class FilterDialog : public win::ModalDialog {
public:
    FilterDialog(records::RowFilter& filter, ConditionChoices choices)
        : filter_(filter), choices_(std::move(choices)) {}

protected:
    bool OnInit() override;
    bool OnOK() override;
    bool OnCommand(WORD commandId, WORD notificationCode) override;

private:
    records::RowFilter& filter_;
    const ConditionChoices choices_;
};

// Shows the dialog over owner, filled with the filter and the rows' senders,
// hosts and apps; true when it ended with OK, which stored the fields in filter.
bool EditFilter(HWND owner, records::RowFilter& filter, const records::RecordStore& rows);

}  // namespace ui
