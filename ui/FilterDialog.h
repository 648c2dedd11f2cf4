// FilterDialog.h: the modal dialog that edits the filter over the Message list's rows.
#pragma once

#include <windows.h>

#include <vector>

#include "records/RecordStore.h"
#include "records/RowFilter.h"
#include "records/SenderCensus.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_FILTER. The filter changes only at OK.
class FilterDialog : public win::ModalDialog {
public:
    FilterDialog(records::RowFilter& filter, std::vector<records::SenderCount> senders)
        : filter_(filter), senders_(std::move(senders)) {}

protected:
    bool OnInit() override;
    bool OnOK() override;
    bool OnCommand(WORD commandId, WORD notificationCode) override;

private:
    records::RowFilter& filter_;
    const std::vector<records::SenderCount> senders_;  // in the order listed
};

// Shows the dialog over owner, filled with the filter and the rows' senders;
// true when it ended with OK, which stored the fields in filter.
bool EditFilter(HWND owner, records::RowFilter& filter, const records::RecordStore& rows);

}  // namespace ui
