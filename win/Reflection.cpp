// Reflection.cpp: which child a notification concerns.
#include "win/Reflection.h"

#include <algorithm>
#include <iterator>

namespace win {

namespace {

constexpr UINT kReflectedMessages[] = {
    WM_COMMAND,        WM_NOTIFY,          WM_PARENTNOTIFY,   WM_DRAWITEM,       WM_MEASUREITEM,
    WM_COMPAREITEM,    WM_DELETEITEM,      WM_VKEYTOITEM,     WM_CHARTOITEM,     WM_HSCROLL,
    WM_VSCROLL,        WM_CTLCOLORMSGBOX,  WM_CTLCOLOREDIT,   WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN,
    WM_CTLCOLORDLG,    WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC,
};

bool IsReflectable(UINT message) {
    return std::find(std::begin(kReflectedMessages), std::end(kReflectedMessages), message) !=
           std::end(kReflectedMessages);
}

HWND ConcernedChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsReflectable(message)) return nullptr;
    switch (message) {
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_PARENTNOTIFY: {
        const WORD event = LOWORD(wParam);
        if (event == WM_CREATE || event == WM_DESTROY) return reinterpret_cast<HWND>(lParam);
        return GetDlgItem(parent, HIWORD(wParam));
    }
    case WM_DRAWITEM:
        return wParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return wParam ? GetDlgItem(parent, reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlID) : nullptr;
    case WM_COMPAREITEM:
        return wParam ? GetDlgItem(parent, reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->CtlID) : nullptr;
    case WM_DELETEITEM:
        return wParam ? GetDlgItem(parent, reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->CtlID) : nullptr;
    default:
        return reinterpret_cast<HWND>(lParam);  // the control that sent it
    }
}

}  // namespace

bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const HWND child = ConcernedChild(parent, message, wParam, lParam);
    if (!child) return false;
    result = SendMessageW(child, message + UM_REFLECTED_BASE, wParam, lParam);
    return true;
}

bool IsReflectedMessage(UINT message) {
    return message >= UM_REFLECTED_BASE && IsReflectable(message - UM_REFLECTED_BASE);
}

}  // namespace win
