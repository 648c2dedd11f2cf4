// WatchRulesDialog.h: the modal dialog that lists the watch rules in order and adds, edits, removes and moves them.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "records/RecordStore.h"
#include "records/WatchRules.h"
#include "win/ListView.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_WATCH_RULES. It works on a copy of the rules,
// which replaces them at OK. A rule keeps its match count through edits and
// moves; a new one starts at 0.
class WatchRulesDialog : public win::ModalDialog {
public:
    WatchRulesDialog(std::vector<records::CountedRule>& rules, std::vector<records::CountedRule> working,
                     const records::RecordStore& rows)
        : rules_(rules), working_(std::move(working)), rows_(rows) {}

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnInit() override;
    bool OnOK() override;
    bool OnCommand(WORD commandId, WORD notificationCode) override;

private:
    void Add();
    void Edit();
    void Remove();
    void Move(int by);  // -1 up, +1 down

    int Selected() const;
    // Lists the rules again, with that one selected (none for -1).
    void ShowRules(int selected);
    // Greys what cannot act now; a control that loses its turn hands the focus to the list.
    void EnableButtons();

    std::vector<records::CountedRule>& rules_;
    std::vector<records::CountedRule> working_;
    const records::RecordStore& rows_;  // for the senders, hosts and apps the rule dialog offers
    win::ListView list_;
};

// Shows the dialog over owner; true when it ended with OK, with rules replaced by the dialog's.
bool EditWatchRules(HWND owner, std::vector<records::CountedRule>& rules, const records::RecordStore& rows);

}  // namespace ui
