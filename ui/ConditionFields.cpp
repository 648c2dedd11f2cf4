// ConditionFields.cpp: the fields shown from a filter and read back into one.
#include "ui/ConditionFields.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "records/ConditionsText.h"
#include "records/HeaderNames.h"
#include "records/SyslogPriority.h"
#include "res/resource.h"
#include "win/ModalDialog.h"

namespace ui {

namespace {

// Item k + 1 is severity k; item 0 sets no condition.
const char kAnySeverityItem[] = "Any";
constexpr size_t kSeverityItemCapacity = 32;

// A list of hosts or apps with its show-only and hide buttons. An item's
// data is the name's index among the choices.
struct NameFields {
    int list;
    int showOnly;
    int hide;
};
constexpr NameFields kHostFields{IDC_FILTER_HOSTS, IDC_FILTER_SHOW_HOSTS, IDC_FILTER_HIDE_HOSTS};
constexpr NameFields kAppFields{IDC_FILTER_APPS, IDC_FILTER_SHOW_APPS, IDC_FILTER_HIDE_APPS};

bool SameApp(std::string_view left, std::string_view right) {
    return left == right;
}

void FillNames(HWND dialog, const NameFields& fields, const std::vector<records::NameCount>& names) {
    const HWND list = GetDlgItem(dialog, fields.list);
    for (size_t index = 0; index < names.size(); ++index) {
        const LRESULT at =
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(records::NameCountText(names[index]).c_str()));
        if (at < 0) return;
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(index));
    }
}

// The offered name an item stands for, or null.
const std::string* ItemName(HWND list, int item, const std::vector<records::NameCount>& offered) {
    const auto index = static_cast<size_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(item), 0));
    return index < offered.size() ? &offered[index].name : nullptr;
}

void ShowNames(HWND dialog, const NameFields& fields, const std::vector<records::NameCount>& offered,
               const std::vector<std::string>& named, bool hide, bool (*same)(std::string_view, std::string_view)) {
    const HWND list = GetDlgItem(dialog, fields.list);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        const std::string* name = ItemName(list, item, offered);
        const bool chosen = name && std::any_of(named.begin(), named.end(),
                                                [&](const std::string& one) { return same(*name, one); });
        SendMessageA(list, LB_SETSEL, chosen ? TRUE : FALSE, item);
    }
    CheckRadioButton(dialog, fields.showOnly, fields.hide, hide ? fields.hide : fields.showOnly);
}

std::vector<std::string> ReadNames(HWND dialog, const NameFields& fields,
                                   const std::vector<records::NameCount>& offered) {
    std::vector<std::string> names;
    const HWND list = GetDlgItem(dialog, fields.list);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(item), 0) <= 0) continue;
        if (const std::string* name = ItemName(list, item, offered)) names.push_back(*name);
    }
    return names;
}

}  // namespace

ConditionChoices CountConditionChoices(const records::RecordStore& rows, const records::RowFilter& filter) {
    records::HostsAndApps named = records::CountHostsAndApps(rows, filter);
    return {records::CountSenders(rows, filter.senders), std::move(named.hosts), std::move(named.apps)};
}

void FillConditionChoices(HWND dialog, const ConditionChoices& choices) {
    const HWND severity = GetDlgItem(dialog, IDC_FILTER_SEVERITY);
    SendMessageA(severity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAnySeverityItem));
    for (int level = 0; level <= records::kLowestSeverity; ++level) {
        char item[kSeverityItemCapacity];
        std::snprintf(item, sizeof item, "%s (%d)", records::SeverityName(level), level);
        SendMessageA(severity, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    const HWND list = GetDlgItem(dialog, IDC_FILTER_SENDERS);
    try {
        for (const records::SenderCount& sender : choices.senders) {
            const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0,
                                            reinterpret_cast<LPARAM>(records::SenderCountText(sender).c_str()));
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(sender.address));
        }
    } catch (const std::bad_alloc&) {
    }
    try {
        FillNames(dialog, kHostFields, choices.hosts);
    } catch (const std::bad_alloc&) {
    }
    try {
        FillNames(dialog, kAppFields, choices.apps);
    } catch (const std::bad_alloc&) {
    }
}

void ShowConditions(HWND dialog, const records::RowFilter& filter, const ConditionChoices& choices) {
    SetDlgItemTextA(dialog, IDC_FILTER_SHOW_TEXT, filter.showText.c_str());
    SetDlgItemTextA(dialog, IDC_FILTER_HIDE_TEXT, filter.hideText.c_str());
    win::Check(dialog, IDC_FILTER_MATCH_CASE, filter.matchCase);
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
    ShowNames(dialog, kHostFields, choices.hosts, filter.hosts, filter.hideHosts, records::SameHost);
    ShowNames(dialog, kAppFields, choices.apps, filter.apps, filter.hideApps, SameApp);
}

records::RowFilter ReadConditions(HWND dialog, const ConditionChoices& choices) {
    records::RowFilter filter;
    filter.showText = win::ItemText(dialog, IDC_FILTER_SHOW_TEXT);
    filter.hideText = win::ItemText(dialog, IDC_FILTER_HIDE_TEXT);
    filter.matchCase = win::IsChecked(dialog, IDC_FILTER_MATCH_CASE);
    const LRESULT severity = SendDlgItemMessageA(dialog, IDC_FILTER_SEVERITY, CB_GETCURSEL, 0, 0);
    filter.lowestSeverity = severity > 0 ? static_cast<int>(severity) - 1 : records::kAnySeverity;
    const HWND list = GetDlgItem(dialog, IDC_FILTER_SENDERS);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item)
        if (SendMessageA(list, LB_GETSEL, item, 0) > 0)
            filter.senders.push_back(static_cast<std::uint32_t>(SendMessageA(list, LB_GETITEMDATA, item, 0)));
    filter.hideSenders = win::IsChecked(dialog, IDC_FILTER_HIDE_SENDERS);
    filter.hosts = ReadNames(dialog, kHostFields, choices.hosts);
    filter.hideHosts = win::IsChecked(dialog, kHostFields.hide);
    filter.apps = ReadNames(dialog, kAppFields, choices.apps);
    filter.hideApps = win::IsChecked(dialog, kAppFields.hide);
    return filter;
}

}  // namespace ui
