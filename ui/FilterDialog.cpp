// FilterDialog.cpp: the fields shown from a filter and read back into one.
#include "ui/FilterDialog.h"

#include <algorithm>
#include <new>
#include <string>

#include "res/resource.h"

namespace ui {

namespace {

// Item k + 1 is severity k; item 0 sets no condition.
const char* const kSeverityItems[] = {"Any",     "Emergency (0)", "Alert (1)",         "Critical (2)", "Error (3)",
                                      "Warning (4)", "Notice (5)", "Informational (6)", "Debug (7)"};

// The 8-bit text, as the list shows the rows' bytes.
std::string ItemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

}  // namespace

// Runs inside the dialog procedure: without memory for the list the dialog opens with what it has.
bool FilterDialog::OnInit() {
    const HWND severity = GetDlgItem(Handle(), IDC_FILTER_SEVERITY);
    for (const char* item : kSeverityItems) SendMessageA(severity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    const HWND list = GetDlgItem(Handle(), IDC_FILTER_SENDERS);
    try {
        for (const records::SenderCount& sender : senders_) {
            const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0,
                                            reinterpret_cast<LPARAM>(records::SenderCountText(sender).c_str()));
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(sender.address));
        }
    } catch (const std::bad_alloc&) {
    }
    ShowFields(filter_);
    return true;
}

// Runs inside the dialog procedure: without memory for the fields the dialog stays open.
bool FilterDialog::OnOK() {
    try {
        records::RowFilter chosen = ReadFields();
        std::swap(filter_, chosen);
    } catch (const std::bad_alloc&) {
        return true;
    }
    return win::ModalDialog::OnOK();
}

bool FilterDialog::OnCommand(WORD commandId, WORD notificationCode) {
    if (commandId != IDC_FILTER_CLEAR || notificationCode != BN_CLICKED) return false;
    ShowFields(records::RowFilter());
    return true;
}

void FilterDialog::ShowFields(const records::RowFilter& filter) {
    SetDlgItemTextA(Handle(), IDC_FILTER_SHOW_TEXT, filter.showText.c_str());
    SetDlgItemTextA(Handle(), IDC_FILTER_HIDE_TEXT, filter.hideText.c_str());
    CheckDlgButton(Handle(), IDC_FILTER_MATCH_CASE, filter.matchCase ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(Handle(), IDC_FILTER_SEVERITY, CB_SETCURSEL, static_cast<WPARAM>(filter.lowestSeverity + 1), 0);
    const HWND list = GetDlgItem(Handle(), IDC_FILTER_SENDERS);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        const auto address = static_cast<std::uint32_t>(SendMessageA(list, LB_GETITEMDATA, item, 0));
        const bool named =
            std::find(filter.senders.begin(), filter.senders.end(), address) != filter.senders.end();
        SendMessageA(list, LB_SETSEL, named ? TRUE : FALSE, item);
    }
    CheckRadioButton(Handle(), IDC_FILTER_SHOW_SENDERS, IDC_FILTER_HIDE_SENDERS,
                     filter.hideSenders ? IDC_FILTER_HIDE_SENDERS : IDC_FILTER_SHOW_SENDERS);
}

records::RowFilter FilterDialog::ReadFields() const {
    records::RowFilter filter;
    filter.showText = ItemText(Handle(), IDC_FILTER_SHOW_TEXT);
    filter.hideText = ItemText(Handle(), IDC_FILTER_HIDE_TEXT);
    filter.matchCase = IsDlgButtonChecked(Handle(), IDC_FILTER_MATCH_CASE) == BST_CHECKED;
    const LRESULT severity = SendDlgItemMessageA(Handle(), IDC_FILTER_SEVERITY, CB_GETCURSEL, 0, 0);
    filter.lowestSeverity = severity > 0 ? static_cast<int>(severity) - 1 : records::kAnySeverity;
    const HWND list = GetDlgItem(Handle(), IDC_FILTER_SENDERS);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item)
        if (SendMessageA(list, LB_GETSEL, item, 0) > 0)
            filter.senders.push_back(static_cast<std::uint32_t>(SendMessageA(list, LB_GETITEMDATA, item, 0)));
    filter.hideSenders = IsDlgButtonChecked(Handle(), IDC_FILTER_HIDE_SENDERS) == BST_CHECKED;
    return filter;
}

bool EditFilter(HWND owner, records::RowFilter& filter, const records::RecordStore& rows) {
    std::vector<records::SenderCount> senders;
    try {
        senders = records::CountSenders(rows, filter.senders);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FilterDialog dialog(filter, std::move(senders));
    return dialog.RunModal(owner, IDD_FILTER) == IDOK;
}

}  // namespace ui
