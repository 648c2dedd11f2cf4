// StartFailure.h: what could not be made as the monitor started, told in a message box.
#pragma once

#include <windows.h>

#include "diag/StatusCode.h"

namespace app {

// What could not be made at start, as a sentence, and the status its maker
// answered; what is null while nothing has failed.
struct StartFailure {
    const wchar_t* what = nullptr;
    StatusCode status = S_OK;
};

// The status of the calling thread's last failed call; E_FAIL where the system left no code.
StatusCode LastStatus();

// A message box with no owner and the program's title: what could not be
// made, then the code and the system's text for it. The window that would
// have shown the pane's diagnostics is gone by then; the quit request it left
// is taken from the queue.
void ShowStartFailure(const StartFailure& failure);

}  // namespace app
