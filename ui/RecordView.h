// RecordView.h: one record of the Message list, shown whole in a small read-only box.
#pragma once

#include <windows.h>

#include "net/SyslogRecord.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_RECORD_VIEW: the sender and the whole message
// text, selectable and copyable, as the record's own 8-bit bytes.
class RecordView : public win::ModalDialog {
public:
    // The record stays owned by its row; it is read only while the view opens.
    explicit RecordView(const net::SyslogRecord& record) : record_(record) {}

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnInitDialog();

    const net::SyslogRecord& record_;
};

// Shows the record modally over owner until OK, Escape or the close button.
void ShowRecordView(HWND owner, const net::SyslogRecord& record);

}  // namespace ui
