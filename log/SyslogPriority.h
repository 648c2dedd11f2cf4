// SyslogPriority.h: the priority <N> a syslog message may start with, and its severity's colours.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace messagelog {

constexpr int kNoPriority = -1;
// A priority is facility * kSeverities + severity.
constexpr int kSeverities = 8;

// N when the message starts with '<', one to three digits without a leading
// zero (a lone 0 is allowed) giving 0 to 191, and '>'; otherwise kNoPriority.
int LeadingPriority(const char* message);

struct RowColours {
    COLORREF text;
    COLORREF background;  // CLR_DEFAULT: the list's own
};

// The colours of the priority's severity (priority % 8): emergency, alert and
// critical, error, warning. False for notice, informational, debug and no
// priority, which keep the list's own colours.
bool SeverityColours(int priority, RowColours& out);

}  // namespace messagelog
