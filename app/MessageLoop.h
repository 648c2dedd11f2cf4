// MessageLoop.h: the user-interface thread's main loop.
#pragma once

#include <windows.h>

namespace app {

// Runs until the quit request. The Main window's modeless dialog, while one
// is open, gets the keyboard messages meant for it first (Tab, Enter, Escape,
// the keys of its edit box); every other message offers its keys to the
// accelerators, which go to the Main window whichever of its children has the
// focus.
void RunMessageLoop(HACCEL accelerators);

}  // namespace app
