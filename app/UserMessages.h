// UserMessages.h: the program's own window messages.
#pragma once

#include <windows.h>

// The doorbell: deliveries wait in the Main window's queue. It carries
// nothing, so one posted by anybody else changes nothing.
constexpr UINT UM_DELIVERIES_WAITING = WM_USER + 3;
