// RealInput.cpp: SendInput with absolute pointer positions, and a named mutex as the lock.
#include "tests/support/RealInput.h"

namespace testing_support {

namespace {

const char kDesktopLockName[] = "KelvSysLog.tests.desktop";
constexpr LONG kAbsoluteRange = 65536;  // SendInput's absolute coordinates span 0..65535
constexpr ULONGLONG kPointerWaitMs = 2000;

// The absolute coordinate that lands exactly on the pixel, whether the system
// rounds or truncates when it scales back.
LONG Absolute(LONG pixel, int screenSize) {
    return static_cast<LONG>((static_cast<long long>(pixel) * kAbsoluteRange + screenSize - 1) / screenSize);
}

bool SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}

INPUT Key(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A program closed with Alt+F4 is gone before the Alt key comes up, so the
// system may still hold it down; the next keys typed would be Alt chords.
void ReleaseHeldModifiers() {
    for (const WORD modifier : {VK_MENU, VK_CONTROL, VK_SHIFT}) {
        if (!(GetAsyncKeyState(modifier) & 0x8000)) continue;
        INPUT up = Key(modifier, true);
        SendInput(1, &up, sizeof up);
    }
}

}  // namespace

DesktopLock::DesktopLock() : mutex_(CreateMutexA(nullptr, FALSE, kDesktopLockName)) {
    if (mutex_) WaitForSingleObject(mutex_, INFINITE);  // an abandoned lock is taken over as well
    ReleaseHeldModifiers();
}

DesktopLock::~DesktopLock() {
    if (!mutex_) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
}

bool PressControlChord(WORD virtualKey) {
    INPUT keys[] = {Key(VK_CONTROL, false), Key(virtualKey, false), Key(virtualKey, true), Key(VK_CONTROL, true)};
    const UINT count = sizeof keys / sizeof keys[0];
    return SendInput(count, keys, sizeof keys[0]) == count;
}

bool PressKey(WORD virtualKey) {
    INPUT keys[] = {Key(virtualKey, false), Key(virtualKey, true)};
    const UINT count = sizeof keys / sizeof keys[0];
    return SendInput(count, keys, sizeof keys[0]) == count;
}

bool MoveMouseTo(POINT screenPoint) {
    const LONG dx = Absolute(screenPoint.x, GetSystemMetrics(SM_CXSCREEN));
    const LONG dy = Absolute(screenPoint.y, GetSystemMetrics(SM_CYSCREEN));
    if (!SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy)) return false;
    // The pointer gets there once the system has taken the input, which on a busy machine is a moment later.
    for (const ULONGLONG deadline = GetTickCount64() + kPointerWaitMs;;) {
        POINT now;
        if (GetCursorPos(&now) && now.x == screenPoint.x && now.y == screenPoint.y) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(1);
    }
}

bool PressLeftButton() {
    return SendMouse(MOUSEEVENTF_LEFTDOWN);
}

bool ReleaseLeftButton() {
    return SendMouse(MOUSEEVENTF_LEFTUP);
}

bool ClickRightButton() {
    return SendMouse(MOUSEEVENTF_RIGHTDOWN) && SendMouse(MOUSEEVENTF_RIGHTUP);
}

void ParkMouse() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

}  // namespace testing_support
