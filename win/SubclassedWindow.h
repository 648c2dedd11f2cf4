// SubclassedWindow.h: a window object attached to an existing control window.
#pragma once

#include <windows.h>

namespace win {

// Installs its own window procedure on a control and keeps the control's
// previous one, which receives every message the object leaves unhandled.
class SubclassedWindow {
public:
    SubclassedWindow() = default;
    SubclassedWindow(const SubclassedWindow&) = delete;
    SubclassedWindow& operator=(const SubclassedWindow&) = delete;
    virtual ~SubclassedWindow();

    // False when the procedure could not be installed; the control is then left as it was.
    bool Attach(HWND control);

    HWND Handle() const { return hwnd_; }

protected:
    // The message map: true when the message was handled, its answer in result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

    // Gives a message to the control's previous window procedure.
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = DefWindowProcW;
};

}  // namespace win
