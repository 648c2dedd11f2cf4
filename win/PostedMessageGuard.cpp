// PostedMessageGuard.cpp: a message hook of the thread that empties posted pointer messages.
#include "win/PostedMessageGuard.h"

namespace win {

namespace {

bool OnlyEverSent(UINT message) {
    switch (message) {
    case WM_NCCREATE:
    case WM_CREATE:
    case WM_INITDIALOG:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_DPICHANGED:
        return true;
    default:
        return false;
    }
}

}  // namespace

PostedMessageGuard::PostedMessageGuard()
    : hook_(SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId())) {}

PostedMessageGuard::~PostedMessageGuard() {
    if (hook_) UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK PostedMessageGuard::Hook(int code, WPARAM removal, LPARAM message) {
    if (code == HC_ACTION) {
        MSG& posted = *reinterpret_cast<MSG*>(message);
        if (OnlyEverSent(posted.message)) posted = MSG{posted.hwnd, WM_NULL, 0, 0, posted.time, posted.pt};
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace win
