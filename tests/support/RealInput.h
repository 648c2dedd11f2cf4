// RealInput.h: keyboard and mouse input given as the user gives it, through the system's input queue.
#pragma once

#include <windows.h>

namespace testing_support {

// Held by a test that shows windows or injects input, for its whole run: such
// a test in another process would otherwise take the foreground or the
// pointer from it. Tests that only compute need not take it.
class DesktopLock {
public:
    DesktopLock();
    ~DesktopLock();
    DesktopLock(const DesktopLock&) = delete;
    DesktopLock& operator=(const DesktopLock&) = delete;

private:
    HANDLE mutex_;
};

// Presses and releases the key with Control held; the keys go to the
// foreground window's focus. False when the system refused the input.
bool PressControlChord(WORD virtualKey);

// Presses and releases the key alone.
bool PressKey(WORD virtualKey);

// Moves the pointer to a screen point; false when it did not get there.
bool MoveMouseTo(POINT screenPoint);

bool PressLeftButton();
bool ReleaseLeftButton();
// Presses and releases the right button where the pointer is.
bool ClickRightButton();

// Puts the pointer in the screen's bottom right corner, away from the test's
// windows, so that no stray mouse message lands on them.
void ParkMouse();

}  // namespace testing_support
