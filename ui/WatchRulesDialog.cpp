// WatchRulesDialog.cpp: the rules' list rebuilt after every change; each rule edited in the rule dialog.
#include "ui/WatchRulesDialog.h"

#include <cstdio>
#include <new>
#include <utility>

#include "records/ConditionsText.h"
#include "res/resource.h"
#include "ui/WatchRuleDialog.h"

namespace ui {

namespace {

enum Column { kNameColumn, kConditionsColumn, kMatchesColumn };

// Widths in dialog units, so they grow with the dialog's font; the conditions take the rest.
constexpr int kNameWidth = 64;
constexpr int kMatchesWidth = 40;
constexpr size_t kMatchesCapacity = 24;
constexpr UINT kChosen = LVIS_SELECTED | LVIS_FOCUSED;

int Pixels(HWND dialog, int dialogUnits) {
    RECT width{0, 0, dialogUnits, 0};
    MapDialogRect(dialog, &width);
    return width.right;
}

}  // namespace

bool WatchRulesDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY || wParam != IDC_WATCH_RULE_LIST)
        return win::ModalDialog::OnMessage(message, wParam, lParam, result);
    result = 0;
    const auto& notice = *reinterpret_cast<const NMHDR*>(lParam);
    switch (notice.code) {
    case NM_DBLCLK:
        if (reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem >= 0) Edit();
        return true;
    case LVN_ITEMCHANGED:
        EnableButtons();
        return true;
    default:
        return false;
    }
}

bool WatchRulesDialog::OnInit() {
    list_ = win::ListView(GetDlgItem(Handle(), IDC_WATCH_RULE_LIST));
    list_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    const int name = Pixels(Handle(), kNameWidth);
    const int matches = Pixels(Handle(), kMatchesWidth);
    RECT client;
    GetClientRect(list_.Handle(), &client);
    // Room is left for a vertical scroll bar, so a long list scrolls only one way.
    const int conditions = client.right - name - matches - GetSystemMetrics(SM_CXVSCROLL);
    list_.InsertColumn(kNameColumn, "Name", name);
    list_.InsertColumn(kConditionsColumn, "Conditions", conditions);
    list_.InsertColumn(kMatchesColumn, "Matches", matches);
    // Nothing selected, so Enter in the list still means OK until the user picks a rule.
    ShowRules(-1);
    return true;
}

// Enter in the list edits the rule chosen there; anywhere else it is OK.
bool WatchRulesDialog::OnOK() {
    if (GetFocus() == list_.Handle() && Selected() >= 0) {
        Edit();
        return true;
    }
    rules_.swap(working_);
    return win::ModalDialog::OnOK();
}

bool WatchRulesDialog::OnCommand(WORD commandId, WORD notificationCode) {
    if (notificationCode != BN_CLICKED) return false;
    switch (commandId) {
    case IDC_WATCH_ADD:
        Add();
        return true;
    case IDC_WATCH_EDIT:
        Edit();
        return true;
    case IDC_WATCH_REMOVE:
        Remove();
        return true;
    case IDC_WATCH_UP:
        Move(-1);
        return true;
    case IDC_WATCH_DOWN:
        Move(+1);
        return true;
    default:
        return false;
    }
}

// Each action runs inside the dialog procedure: without memory it leaves the rules as they were.
void WatchRulesDialog::Add() {
    if (working_.size() >= records::kMostWatchRules) return;
    records::WatchRule rule;
    if (!EditWatchRule(Handle(), rule, rows_)) return;
    try {
        working_.push_back({std::move(rule), 0});
    } catch (const std::bad_alloc&) {
        return;
    }
    ShowRules(static_cast<int>(working_.size()) - 1);
}

void WatchRulesDialog::Edit() {
    const int selected = Selected();
    if (selected < 0) return;
    records::WatchRule rule;
    try {
        rule = working_[static_cast<size_t>(selected)].rule;
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!EditWatchRule(Handle(), rule, rows_)) return;
    working_[static_cast<size_t>(selected)].rule = std::move(rule);
    ShowRules(selected);
}

void WatchRulesDialog::Remove() {
    const int selected = Selected();
    if (selected < 0) return;
    working_.erase(working_.begin() + selected);
    const int last = static_cast<int>(working_.size()) - 1;
    ShowRules(selected <= last ? selected : last);
}

void WatchRulesDialog::Move(int by) {
    const int selected = Selected();
    const int to = selected + by;
    if (selected < 0 || to < 0 || to >= static_cast<int>(working_.size())) return;
    std::swap(working_[static_cast<size_t>(selected)], working_[static_cast<size_t>(to)]);
    ShowRules(to);
}

int WatchRulesDialog::Selected() const {
    return list_.NextRow(win::ListView::kEveryRow, LVNI_SELECTED);
}

// Without memory for a text the list shows the rules before it; those it shows keep their places.
void WatchRulesDialog::ShowRules(int selected) {
    list_.DeleteAll();
    try {
        for (size_t index = 0; index < working_.size(); ++index) {
            const int row = static_cast<int>(index);
            list_.InsertRow(row, working_[index].rule.name.c_str());
            list_.SetText(row, kConditionsColumn, records::ConditionsText(working_[index].rule.conditions).c_str());
            char matches[kMatchesCapacity];
            std::snprintf(matches, sizeof matches, "%llu", static_cast<unsigned long long>(working_[index].matches));
            list_.SetText(row, kMatchesColumn, matches);
        }
    } catch (const std::bad_alloc&) {
    }
    if (selected >= 0 && selected < list_.Count()) {
        list_.SetState(selected, kChosen, kChosen);
        list_.EnsureVisible(selected);
    }
    EnableButtons();
}

void WatchRulesDialog::EnableButtons() {
    const int selected = Selected();
    const int last = static_cast<int>(working_.size()) - 1;
    const struct {
        int id;
        bool on;
    } buttons[] = {
        {IDC_WATCH_ADD, working_.size() < records::kMostWatchRules},
        {IDC_WATCH_EDIT, selected >= 0},
        {IDC_WATCH_REMOVE, selected >= 0},
        {IDC_WATCH_UP, selected > 0},
        {IDC_WATCH_DOWN, selected >= 0 && selected < last},
    };
    for (const auto& button : buttons) {
        const HWND control = GetDlgItem(Handle(), button.id);
        // A greyed control cannot keep the focus, and the dialog would be left without one.
        if (!button.on && GetFocus() == control)
            SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_.Handle()), TRUE);
        EnableWindow(control, button.on ? TRUE : FALSE);
    }
}

bool EditWatchRules(HWND owner, std::vector<records::CountedRule>& rules, const records::RecordStore& rows) {
    std::vector<records::CountedRule> working;
    try {
        working = rules;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return win::EditInDialog<WatchRulesDialog>(owner, IDD_WATCH_RULES, rules, std::move(working), rows);
}

}  // namespace ui
