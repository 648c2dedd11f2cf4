// ConditionFields.cpp: the fields shown from a filter and read back into one.
#include "ui/ConditionFields.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "records/ConditionsText.h"
#include "records/SyslogPriority.h"
#include "res/resource.h"
#include "ui/DialogItemText.h"

namespace ui {

namespace {

// Item k + 1 is severity k; item 0 sets no condition.
const char kAnySeverityItem[] = "Any";
constexpr size_t kSeverityItemCapacity = 32;

}  // namespace

void FillConditionChoices(HWND dialog, const std::vector<records::SenderCount>& senders) {
    const HWND severity = GetDlgItem(dialog, IDC_FILTER_SEVERITY);
    SendMessageA(severity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAnySeverityItem));
    for (int level = 0; level <= records::kLowestSeverity; ++level) {
        char item[kSeverityItemCapacity];
        std::snprintf(item, sizeof item, "%s (%d)", records::SeverityName(level), level);
        SendMessageA(severity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    const HWND list = GetDlgItem(dialog, IDC_FILTER_SENDERS);
    try {
        for (const records::SenderCount& sender : senders) {
            const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0,
                                            reinterpret_cast<LPARAM>(records::SenderCountText(sender).c_str()));
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(sender.address));
        }
    } catch (const std::bad_alloc&) {
    }
}

void ShowConditions(HWND dialog, const records::RowFilter& filter) {
    SetDlgItemTextA(dialog, IDC_FILTER_SHOW_TEXT, filter.showText.c_str());
    SetDlgItemTextA(dialog, IDC_FILTER_HIDE_TEXT, filter.hideText.c_str());
    CheckDlgButton(dialog, IDC_FILTER_MATCH_CASE, filter.matchCase ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dialog, IDC_FILTER_SEVERITY, CB_SETCURSEL, static_cast<WPARAM>(filter.lowestSeverity + 1), 0);
    const HWND list = GetDlgItem(dialog, IDC_FILTER_SENDERS);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        const auto address = static_cast<std::uint32_t>(SendMessageA(list, LB_GETITEMDATA, item, 0));
        const bool named =
            std::find(filter.senders.begin(), filter.senders.end(), address) != filter.senders.end();
        SendMessageA(list, LB_SETSEL, named ? TRUE : FALSE, item);
    }
    CheckRadioButton(dialog, IDC_FILTER_SHOW_SENDERS, IDC_FILTER_HIDE_SENDERS,
                     filter.hideSenders ? IDC_FILTER_HIDE_SENDERS : IDC_FILTER_SHOW_SENDERS);
}

records::RowFilter ReadConditions(HWND dialog) {
    records::RowFilter filter;
    filter.showText = DialogItemText(dialog, IDC_FILTER_SHOW_TEXT);
    filter.hideText = DialogItemText(dialog, IDC_FILTER_HIDE_TEXT);
    filter.matchCase = IsDlgButtonChecked(dialog, IDC_FILTER_MATCH_CASE) == BST_CHECKED;
    const LRESULT severity = SendDlgItemMessageA(dialog, IDC_FILTER_SEVERITY, CB_GETCURSEL, 0, 0);
    filter.lowestSeverity = severity > 0 ? static_cast<int>(severity) - 1 : records::kAnySeverity;
    const HWND list = GetDlgItem(dialog, IDC_FILTER_SENDERS);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item)
        if (SendMessageA(list, LB_GETSEL, item, 0) > 0)
            filter.senders.push_back(static_cast<std::uint32_t>(SendMessageA(list, LB_GETITEMDATA, item, 0)));
    filter.hideSenders = IsDlgButtonChecked(dialog, IDC_FILTER_HIDE_SENDERS) == BST_CHECKED;
    return filter;
}

}  // namespace ui
