// WatchRulesDialogTest.cpp: the watch rules' list and the rule dialog, driven in their own loops.
#include <gtest/gtest.h>

#include <windows.h>

#include <colordlg.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/RecordStore.h"
#include "records/WatchRules.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/LinkPaint.h"
#include "ui/WatchRulesDialog.h"

namespace {

using dialog_driver::Click;  // the list's OK and Cancel: a click takes the focus from the list, where Enter edits
using dialog_driver::ModalScript;
using dialog_driver::PressButton;
using records::CountedRule;

const wchar_t kRulesTitle[] = L"Watch rules";
const wchar_t kRuleTitle[] = L"Watch rule";
constexpr COLORREF kDarkRed = RGB(139, 0, 0);

enum Column { kName, kConditions, kMatches };

std::uint32_t Address(unsigned a, unsigned b, unsigned c, unsigned d) {
    return a | b << 8 | c << 16 | d << 24;
}

// The program registers the list-view's class as it starts.
class WatchRulesDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
    }
};

// A step that waits for the visible dialog with that title and keeps its handle.
ModalScript::Step Find(const wchar_t* title, HWND& dialog) {
    return [title, &dialog] {
        dialog = dialog_driver::FindDialog(title);
        return dialog != nullptr;
    };
}

// A step that waits until the dialog with that title has gone.
ModalScript::Step Gone(const wchar_t* title) {
    return [title] { return dialog_driver::FindDialog(title) == nullptr; };
}

HWND RuleList(HWND rulesDialog) {
    return GetDlgItem(rulesDialog, IDC_WATCH_RULE_LIST);
}

std::string Cell(HWND rulesDialog, int row, Column column) {
    return testing_support::CellText(RuleList(rulesDialog), row, column);
}

// "name count" per listed row.
std::vector<std::string> Listed(HWND rulesDialog) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(RuleList(rulesDialog), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) rows.push_back(Cell(rulesDialog, row, kName) + " " + Cell(rulesDialog, row, kMatches));
    return rows;
}

std::vector<std::string> Held(const std::vector<CountedRule>& rules) {
    std::vector<std::string> held;
    for (const CountedRule& rule : rules) held.push_back(rule.rule.name + " " + std::to_string(rule.matches));
    return held;
}

// The row selected as a click selects it, which the dialog hears as a change of state.
void Choose(HWND rulesDialog, int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(RuleList(rulesDialog), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Which of Add, Edit, Remove, Move up and Move down can act, as "1" or "0" each.
std::string Enabled(HWND rulesDialog) {
    std::string enabled;
    for (const int id : {IDC_WATCH_ADD, IDC_WATCH_EDIT, IDC_WATCH_REMOVE, IDC_WATCH_UP, IDC_WATCH_DOWN})
        enabled += IsWindowEnabled(GetDlgItem(rulesDialog, id)) ? '1' : '0';
    return enabled;
}

bool g_ruleDialogOpened = false;

void CALLBACK EndTheRuleDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (const HWND rule = dialog_driver::FindDialog(kRuleTitle)) {
        g_ruleDialogOpened = true;
        EndDialog(rule, IDCANCEL);
    }
}

// Sends the button's click, as any program may, greyed or not; a rule dialog
// it opens is ended at once. Answers whether one opened.
bool OpensTheRuleDialog(HWND rulesDialog, int buttonId) {
    g_ruleDialogOpened = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, EndTheRuleDialog);
    SendMessageW(rulesDialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(rulesDialog, buttonId)));
    KillTimer(nullptr, timer);
    return g_ruleDialogOpened;
}

CountedRule Counted(const char* name, std::uint64_t matches) {
    CountedRule rule;
    rule.rule.name = name;
    rule.matches = matches;
    return rule;
}

void Append(records::RecordStore& rows, std::uint32_t sender, const char* text) {
    std::string message = text;
    ASSERT_TRUE(rows.Append(net::SyslogRecord{&message[0], sender, 0}));
}

// The items of one of the dialog's list boxes, in order.
std::vector<std::string> ListBoxItems(HWND dialog, int id) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        char text[64] = {};
        if (SendDlgItemMessageA(dialog, id, LB_GETTEXTLEN, item, 0) < static_cast<LRESULT>(sizeof text))
            SendDlgItemMessageA(dialog, id, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

// The last rule there is room for: OK without a name first keeps the rule
// dialog open, with the focus on the name; once added, Add is greyed.
TEST_F(WatchRulesDialogTest, ARuleMadeInTheRuleDialogIsListedAndHandedBackAtOk) {
    records::RecordStore rows;
    Append(rows, Address(10, 0, 0, 9), "<11>disk full");
    Append(rows, Address(10, 0, 0, 10), "<12>link down");
    Append(rows, Address(10, 0, 0, 50), "<13>Dec  8 10:01:02 fw1 sshd[12]: login");
    Append(rows, Address(10, 0, 0, 50), "<13>1 2026-12-08T10:01:03Z sw2 cron - - - link down");
    Append(rows, Address(10, 0, 0, 50), "<13>1 2026-12-08T10:01:04Z sw2 cron - - - link down");
    std::vector<CountedRule> rules(records::kMostWatchRules - 1, Counted("earlier", 1));
    const int last = static_cast<int>(records::kMostWatchRules) - 1;
    HWND list = nullptr;
    HWND rule = nullptr;
    bool openWithoutName = false;
    bool focusOnName = false;
    bool openedPastTheLimit = false;
    std::string enabledAtOpen, enabledAfterAdd;
    link_paint::Colours sample{};
    std::vector<std::string> listed;
    std::vector<std::string> hostsOffered, appsOffered;
    std::string conditions;
    ModalScript script({Find(kRulesTitle, list),
                        [&] {
                            enabledAtOpen = Enabled(list);
                            PressButton(list, IDC_WATCH_ADD);
                            return true;
                        },
                        Find(kRuleTitle, rule),
                        [&] {
                            SetDlgItemTextA(rule, IDC_FILTER_SHOW_TEXT, "link down");
                            SendMessageW(rule, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(rule, IDOK)), TRUE);
                            PressButton(rule, IDOK);
                            return true;
                        },
                        [&] {
                            openWithoutName = dialog_driver::FindDialog(kRuleTitle) == rule;
                            focusOnName = GetFocus() == GetDlgItem(rule, IDC_WATCH_NAME);
                            SetDlgItemTextA(rule, IDC_WATCH_NAME, "LINK-DOWN");
                            SendDlgItemMessageA(rule, IDC_FILTER_SEVERITY, CB_SETCURSEL, 4, 0);  // Error (3)
                            // Listed by address: 10.0.0.9, then 10.0.0.10.
                            SendDlgItemMessageA(rule, IDC_FILTER_SENDERS, LB_SETSEL, TRUE, 1);
                            Click(rule, IDC_FILTER_HIDE_SENDERS);
                            hostsOffered = ListBoxItems(rule, IDC_FILTER_HOSTS);
                            appsOffered = ListBoxItems(rule, IDC_FILTER_APPS);
                            SendDlgItemMessageA(rule, IDC_FILTER_HOSTS, LB_SETSEL, TRUE, 1);
                            Click(rule, IDC_FILTER_HIDE_HOSTS);
                            SendDlgItemMessageA(rule, IDC_FILTER_APPS, LB_SETSEL, TRUE, 1);
                            Click(rule, IDC_WATCH_MARK);
                            Click(rule, IDC_WATCH_NOTIFY);
                            PressButton(rule, IDC_WATCH_BACKGROUND);
                            return true;
                        },
                        [&] {
                            const HWND colours = dialog_driver::FindDialogOwnedBy(rule);
                            if (!colours) return false;
                            // Typed into its Red, Green and Blue boxes, as a user may.
                            SetDlgItemInt(colours, COLOR_RED, GetRValue(kDarkRed), FALSE);
                            SetDlgItemInt(colours, COLOR_GREEN, GetGValue(kDarkRed), FALSE);
                            SetDlgItemInt(colours, COLOR_BLUE, GetBValue(kDarkRed), FALSE);
                            PressButton(colours, IDOK);
                            return true;
                        },
                        [&] {
                            if (dialog_driver::FindDialogOwnedBy(rule)) return false;
                            sample = link_paint::Request(rule, WM_CTLCOLORSTATIC, GetDlgItem(rule, IDC_WATCH_SAMPLE));
                            PressButton(rule, IDOK);
                            return true;
                        },
                        Gone(kRuleTitle),
                        [&] {
                            enabledAfterAdd = Enabled(list);
                            openedPastTheLimit = OpensTheRuleDialog(list, IDC_WATCH_ADD);
                            listed = Listed(list);
                            conditions = Cell(list, last, kConditions);
                            Click(list, IDOK);
                            return true;
                        }});
    EXPECT_TRUE(ui::EditWatchRules(nullptr, rules, rows));
    ASSERT_TRUE(script.Finished());

    EXPECT_TRUE(openWithoutName);
    EXPECT_TRUE(focusOnName);
    EXPECT_EQ("10000", enabledAtOpen);
    EXPECT_EQ("01110", enabledAfterAdd);  // the new rule, last and selected alone, can still move up
    EXPECT_FALSE(openedPastTheLimit);
    EXPECT_EQ(kDarkRed, sample.background);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), sample.text);
    ASSERT_EQ(records::kMostWatchRules, listed.size());
    EXPECT_EQ("LINK-DOWN 0", listed.back());
    EXPECT_EQ((std::vector<std::string>{"fw1 (1 rows)", "sw2 (2 rows)"}), hostsOffered);
    EXPECT_EQ((std::vector<std::string>{"cron (2 rows)", "sshd (1 rows)"}), appsOffered);
    EXPECT_EQ("\"link down\", severity up to Error, 1 sender hidden, 1 host hidden, only 1 app", conditions);
    ASSERT_EQ(records::kMostWatchRules, rules.size());
    EXPECT_EQ(listed, Held(rules));
    const records::WatchRule& made = rules.back().rule;
    EXPECT_EQ("LINK-DOWN", made.name);
    EXPECT_EQ("link down", made.conditions.showText);
    EXPECT_EQ("", made.conditions.hideText);
    EXPECT_FALSE(made.conditions.matchCase);
    EXPECT_EQ(3, made.conditions.lowestSeverity);
    EXPECT_EQ((std::vector<std::uint32_t>{Address(10, 0, 0, 10)}), made.conditions.senders);
    EXPECT_TRUE(made.conditions.hideSenders);
    EXPECT_EQ((std::vector<std::string>{"sw2"}), made.conditions.hosts);
    EXPECT_TRUE(made.conditions.hideHosts);
    EXPECT_EQ((std::vector<std::string>{"sshd"}), made.conditions.apps);
    EXPECT_FALSE(made.conditions.hideApps);
    EXPECT_EQ(records::kListColour, made.textColour);
    EXPECT_EQ(kDarkRed, made.backgroundColour);
    EXPECT_TRUE(made.mark);
    EXPECT_FALSE(made.flash);
    EXPECT_TRUE(made.notify);
    EXPECT_FALSE(made.beep);
}

// Edits B by Enter in the list, moves it up, removes A, and ends with the button given;
// answers what the list showed before it ended.
std::vector<std::string> EditMoveAndRemove(std::vector<CountedRule>& rules, int endWith, bool& result) {
    const records::RecordStore rows;
    HWND list = nullptr;
    HWND rule = nullptr;
    std::string nameShown;
    std::vector<std::string> listed;
    std::vector<std::string> enabled;
    ModalScript script({Find(kRulesTitle, list),
                        [&] {
                            Choose(list, 1);
                            enabled.push_back(Enabled(list));
                            SendMessageW(list, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(RuleList(list)), TRUE);
                            PostMessageW(RuleList(list), WM_KEYDOWN, VK_RETURN, 0);
                            return true;
                        },
                        Find(kRuleTitle, rule),
                        [&] {
                            nameShown = dialog_driver::TextA(GetDlgItem(rule, IDC_WATCH_NAME));
                            SetDlgItemTextA(rule, IDC_WATCH_NAME, "B2");
                            PressButton(rule, IDOK);
                            return true;
                        },
                        Gone(kRuleTitle),
                        [&] {
                            PressButton(list, IDC_WATCH_UP);
                            return true;
                        },
                        [&] {
                            enabled.push_back(Enabled(list));
                            Choose(list, 1);
                            PressButton(list, IDC_WATCH_REMOVE);
                            return true;
                        },
                        [&] {
                            enabled.push_back(Enabled(list));
                            listed = Listed(list);
                            Click(list, endWith);
                            return true;
                        }});
    result = ui::EditWatchRules(nullptr, rules, rows);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("B", nameShown);
    // B chosen in the middle; B2 moved to the top; C, now last, chosen after A went.
    EXPECT_EQ((std::vector<std::string>{"11111", "11101", "11110"}), enabled);
    return listed;
}

TEST_F(WatchRulesDialogTest, EditedAndMovedRulesKeepTheirCountsAndOkHandsBackTheListed) {
    std::vector<CountedRule> rules = {Counted("A", 5), Counted("B", 7), Counted("C", 0)};
    bool ok = false;
    const std::vector<std::string> listed = EditMoveAndRemove(rules, IDOK, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ((std::vector<std::string>{"B2 7", "C 0"}), listed);
    EXPECT_EQ(listed, Held(rules));
}

TEST_F(WatchRulesDialogTest, CancelLeavesTheRulesAsTheyWere) {
    std::vector<CountedRule> rules = {Counted("A", 5), Counted("B", 7), Counted("C", 0)};
    bool ok = true;
    EXPECT_EQ((std::vector<std::string>{"B2 7", "C 0"}), EditMoveAndRemove(rules, IDCANCEL, ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ((std::vector<std::string>{"A 5", "B 7", "C 0"}), Held(rules));
}

}  // namespace
