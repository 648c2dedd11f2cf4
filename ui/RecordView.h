// RecordView.h: one record of the Message list, shown whole in a small read-only box.
#pragma once

#include <windows.h>

#include "records/StoredRow.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_RECORD_VIEW: the sender and the whole message
// text, selectable and copyable, shown as the list shows it, and below it
// the fields of its header that are there, one a line.
class RecordView : public win::ModalDialog {
public:
    // The row is read only while the view opens.
    explicit RecordView(const records::StoredRow& row) : row_(row) {}

protected:
    bool OnInit() override;

private:
    const records::StoredRow row_;
};

// Shows the row modally over owner until OK, Escape or the close button.
void ShowRecordView(HWND owner, const records::StoredRow& row);

}  // namespace ui
