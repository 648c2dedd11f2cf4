// PostedMessageGuard.h: no message posted by another program is taken for one the system sends.
#pragma once

#include <windows.h>

namespace win {

// While it lives, messages whose long parameter points into the receiver's
// own memory (notices, creation data, item drawing) are turned into WM_NULL
// when they come out of this thread's queue, in every message loop of the
// thread, modal dialogs and menus included. The system and our own code only
// ever send them, so a posted one comes from someone else, and its pointer
// from nowhere.
class PostedMessageGuard {
public:
    PostedMessageGuard();
    ~PostedMessageGuard();
    PostedMessageGuard(const PostedMessageGuard&) = delete;
    PostedMessageGuard& operator=(const PostedMessageGuard&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM removal, LPARAM message);

    HHOOK hook_;
};

}  // namespace win
