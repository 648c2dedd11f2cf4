// WatchRuleDialog.cpp: the conditions as the Filter dialog shows them; the colours through the system's colour dialog.
#include "ui/WatchRuleDialog.h"

#include <commdlg.h>

#include <new>
#include <utility>

#include "res/resource.h"
#include "ui/ConditionFields.h"

namespace ui {

namespace {

// The list's own colours are the system's window colours, as a list-view draws them.
COLORREF Drawn(std::uint32_t colour, int listsOwn) {
    return colour == records::kListColour ? GetSysColor(listsOwn) : static_cast<COLORREF>(colour);
}

}  // namespace

bool WatchRuleDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == GetDlgItem(Handle(), IDC_WATCH_SAMPLE)) {
        result = SampleColours(reinterpret_cast<HDC>(wParam));
        return true;
    }
    return win::ModalDialog::OnMessage(message, wParam, lParam, result);
}

bool WatchRuleDialog::OnInit() {
    SetDlgItemTextA(Handle(), IDC_WATCH_NAME, rule_.name.c_str());
    FillConditionChoices(Handle(), choices_);
    ShowConditions(Handle(), rule_.conditions, choices_);
    Check(IDC_WATCH_MARK, rule_.mark);
    Check(IDC_WATCH_FLASH, rule_.flash);
    Check(IDC_WATCH_NOTIFY, rule_.notify);
    Check(IDC_WATCH_BEEP, rule_.beep);
    return true;
}

// Runs inside the dialog procedure: without memory for the fields the dialog stays open.
bool WatchRuleDialog::OnOK() {
    try {
        records::WatchRule chosen;
        chosen.name = ItemText(IDC_WATCH_NAME);
        if (chosen.name.empty()) {
            SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(Handle(), IDC_WATCH_NAME)), TRUE);
            return true;
        }
        chosen.conditions = ReadConditions(Handle(), choices_);
        chosen.textColour = textColour_;
        chosen.backgroundColour = backgroundColour_;
        chosen.mark = IsChecked(IDC_WATCH_MARK);
        chosen.flash = IsChecked(IDC_WATCH_FLASH);
        chosen.notify = IsChecked(IDC_WATCH_NOTIFY);
        chosen.beep = IsChecked(IDC_WATCH_BEEP);
        std::swap(rule_, chosen);
    } catch (const std::bad_alloc&) {
        return true;
    }
    return win::ModalDialog::OnOK();
}

bool WatchRuleDialog::OnCommand(WORD commandId, WORD notificationCode) {
    if (notificationCode != BN_CLICKED) return false;
    switch (commandId) {
    case IDC_WATCH_TEXT_COLOUR:
        ChooseColour(textColour_, COLOR_WINDOWTEXT);
        return true;
    case IDC_WATCH_BACKGROUND:
        ChooseColour(backgroundColour_, COLOR_WINDOW);
        return true;
    case IDC_WATCH_LIST_COLOURS:
        textColour_ = records::kListColour;
        backgroundColour_ = records::kListColour;
        RepaintSample();
        return true;
    default:
        return false;
    }
}

void WatchRuleDialog::ChooseColour(std::uint32_t& colour, int listsOwn) {
    CHOOSECOLORW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = Handle();
    choice.rgbResult = Drawn(colour, listsOwn);
    choice.lpCustColors = customColours_;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choice)) return;
    colour = choice.rgbResult;
    RepaintSample();
}

void WatchRuleDialog::RepaintSample() const {
    InvalidateRect(GetDlgItem(Handle(), IDC_WATCH_SAMPLE), nullptr, TRUE);
}

// The stock DC brush takes the background colour, so no brush has to be made and freed.
LRESULT WatchRuleDialog::SampleColours(HDC dc) const {
    const COLORREF background = Drawn(backgroundColour_, COLOR_WINDOW);
    SetTextColor(dc, Drawn(textColour_, COLOR_WINDOWTEXT));
    SetBkColor(dc, background);
    SetDCBrushColor(dc, background);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

bool EditWatchRule(HWND owner, records::WatchRule& rule, const records::RecordStore& rows) {
    return EditConditions<WatchRuleDialog>(owner, IDD_WATCH_RULE, rule, rule.conditions, rows);
}

}  // namespace ui
