// SeverityDrawing.h: the Message list's rows drawn in their severity's colours.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "records/ShownRows.h"

namespace list {

struct RowColours {
    COLORREF text;
    COLORREF background;  // CLR_DEFAULT: the list's own
};

// The colours of the priority's severity: emergency, alert and critical,
// error, warning. False for notice, informational, debug and no priority,
// which keep the list's own colours.
bool SeverityColours(int priority, RowColours& out);

// Answers the list's custom-draw notice: asks for each row's notice and gives
// a row with a severity colour its colours; everything else is drawn as always.
LRESULT DrawInSeverityColours(const records::ShownRows& rows, NMLVCUSTOMDRAW& draw);

}  // namespace list
