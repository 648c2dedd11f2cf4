// Reflection.cpp: which child a notification concerns.
#include "win/Reflection.h"

namespace win {

namespace {

HWND ConcernedChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
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
        return nullptr;
    }
}

bool IsReflectable(UINT message) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

}  // namespace

bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const HWND child = ConcernedChild(parent, message, wParam, lParam);
    if (!child) return false;
    result = SendMessageW(child, message + kReflectedMessageBase, wParam, lParam);
    return true;
}

bool IsReflectedMessage(UINT message) {
    return message >= kReflectedMessageBase && IsReflectable(message - kReflectedMessageBase);
}

}  // namespace win
