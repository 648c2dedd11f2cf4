// WatchRuleDialog.h: the modal dialog that edits one watch rule: its name, conditions, colours and calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

#include "records/RecordStore.h"
#include "records/WatchRule.h"
#include "ui/ConditionFields.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_WATCH_RULE. The rule changes only at OK, and
// only with a name: OK without one keeps the dialog open.
class WatchRuleDialog : public win::ModalDialog {
public:
    WatchRuleDialog(records::WatchRule& rule, ConditionChoices choices)
        : rule_(rule),
          choices_(std::move(choices)),
          textColour_(rule.textColour),
          backgroundColour_(rule.backgroundColour) {}

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnInit() override;
    bool OnOK() override;
    bool OnCommand(WORD commandId, WORD notificationCode) override;

private:
    // The system's colour dialog, started from the colour as the sample shows it.
    void ChooseColour(std::uint32_t& colour, int listsOwn);
    void RepaintSample() const;
    // WM_CTLCOLORSTATIC for the sample: the colours chosen so far.
    LRESULT SampleColours(HDC dc) const;

    records::WatchRule& rule_;
    const ConditionChoices choices_;
    std::uint32_t textColour_;  // as chosen so far: 0x00BBGGRR or kListColour
    std::uint32_t backgroundColour_;
    COLORREF customColours_[16] = {};  // the colour dialog's own sixteen, kept while this dialog is open
};

// Shows the dialog over owner, filled with the rule and the rows' senders,
// hosts and apps; true when it ended with OK, which stored the fields in rule.
bool EditWatchRule(HWND owner, records::WatchRule& rule, const records::RecordStore& rows);

}  // namespace ui
