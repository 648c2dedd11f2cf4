// MessageLoop.h: the user-interface thread's main loop.
#pragma once

#include <windows.h>

namespace app {

// Runs until the quit request; keyboard accelerators go to the Main window,
// whichever of its children has the focus.
void RunMessageLoop(HACCEL accelerators);

}  // namespace app
