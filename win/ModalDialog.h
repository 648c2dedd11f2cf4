// ModalDialog.h: a modal dialog run from a dialog resource, bound to its object.
#pragma once

#include <windows.h>

namespace win {

// Base of every dialog object. Every message of the dialog reaches OnMessage
// first; what it leaves unhandled goes to the dialog manager's own processing.
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
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

    void EndDialogWith(INT_PTR dialogResult) { EndDialog(hwnd_, dialogResult); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace win
