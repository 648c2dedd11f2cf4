// SeverityDrawing.h: the colours of a row's severity; MessageList draws its rows in them.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace list {

struct RowColours {
    COLORREF text;
    COLORREF background;  // CLR_DEFAULT: the list's own
};

// The colours of the priority's severity: emergency, alert and critical,
// error, warning. False for notice, informational, debug and no priority,
// which keep the list's own colours.
bool SeverityColours(int priority, RowColours& out);

}  // namespace list
