// ModalDialog.h: a modal dialog run from a dialog resource, bound to its object.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace win {

// A dialog's items, for the dialogs and the fields they share.
bool IsChecked(HWND dialog, int id);
void Check(HWND dialog, int id, bool on);
// The item's text in 8 bits, read at the length the control reports.
std::string ItemText(HWND dialog, int id);

// Base of every dialog object. Every message of the dialog reaches OnMessage
// first; what it leaves unhandled goes to the dialog manager's own processing.
// The common cases have a member each: OnInit, OnOK, OnCancel and OnCommand.
class ModalDialog {
public:
    ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;
    virtual ~ModalDialog() = default;

    // Runs the dialog until it ends; answers its result, or -1 when it could not be shown.
    INT_PTR RunModal(HWND owner, int dialogResourceId);

    HWND Handle() const { return hwnd_; }

protected:
    // The message map: true when the message was handled, its answer in result.
    // This one routes WM_INITDIALOG and WM_COMMAND to the members below.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // WM_INITDIALOG: true to have the dialog manager put the focus on the first control.
    virtual bool OnInit() { return true; }
    // The OK button or Enter: ends the dialog with IDOK.
    virtual bool OnOK();
    // The Cancel button, Escape or the close button: ends the dialog with IDCANCEL.
    virtual bool OnCancel();
    // Any other command: true when handled.
    virtual bool OnCommand(WORD /*commandId*/, WORD /*notificationCode*/) { return false; }

    void EndDialogWith(INT_PTR dialogResult) { EndDialog(hwnd_, dialogResult); }

    bool IsChecked(int id) const { return win::IsChecked(hwnd_, id); }
    void Check(int id, bool on) const { win::Check(hwnd_, id, on); }
    std::string ItemText(int id) const { return win::ItemText(hwnd_, id); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// Runs a dialog, made of the arguments, over owner: true when it ended with
// OK, which is when it stored what the user chose in the value it was given.
template <typename Dialog, typename... Arguments>
bool EditInDialog(HWND owner, int dialogResourceId, Arguments&&... arguments) {
    Dialog dialog(std::forward<Arguments>(arguments)...);
    return dialog.RunModal(owner, dialogResourceId) == IDOK;
}

}  // namespace win
