// SubclassedWindow.cpp: attaching to a control, and giving its messages back on the last one.
#include "win/SubclassedWindow.h"

namespace win {

namespace {
const wchar_t kObjectProperty[] = L"win.SubclassedWindow";
}

SubclassedWindow::~SubclassedWindow() {
    if (hwnd_) Detach();
}

bool SubclassedWindow::Attach(HWND control) {
    if (!control || hwnd_) return false;
    if (!SetPropW(control, kObjectProperty, this)) return false;
    SetLastError(0);
    const LONG_PTR previous =
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
    if (previous == 0 && GetLastError() != 0) {
        RemovePropW(control, kObjectProperty);
        return false;
    }
    hwnd_ = control;
    previous_ = reinterpret_cast<WNDPROC>(previous);
    return true;
}

LRESULT SubclassedWindow::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
}

void SubclassedWindow::Detach() {
    if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SubclassProc))
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
}

LRESULT CALLBACK SubclassedWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<SubclassedWindow*>(GetPropW(hwnd, kObjectProperty));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        const LRESULT result = self->CallPrevious(message, wParam, lParam);
        self->Detach();
        return result;
    }
    LRESULT result = 0;
    if (self->OnMessage(message, wParam, lParam, result)) return result;
    return self->CallPrevious(message, wParam, lParam);
}

}  // namespace win
