// RowDrawing.h: the colours a row is drawn in: its first watch rule's, else its severity's.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "records/WatchRule.h"

namespace list {

// The mark of a row a rule marks: a bar down the row's left end, this wide at 96 DPI.
constexpr int kMarkWidth = 4;

struct RowColours {
    COLORREF text;        // CLR_DEFAULT: the list's own
    COLORREF background;  // CLR_DEFAULT: the list's own
};

// The colours of the priority's severity: emergency, alert and critical,
// error, warning. False for notice, informational, debug and no priority,
// which keep the list's own colours.
bool SeverityColours(int priority, RowColours& out);

// The rule's colours, the list's own where it names none.
RowColours RuleColours(const records::WatchRule& rule);

}  // namespace list
