// ModalDialog.h: a modal dialog run from a dialog resource, bound to its object.
#pragma once

#include <windows.h>

namespace win {

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

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace win
