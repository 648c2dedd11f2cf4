// SyslogPriority.h: the priority <N> a syslog message may start with, and its severity.
#pragma once

namespace records {

constexpr int kNoPriority = -1;

// N when the message starts with '<', one to three digits without a leading
// zero (a lone 0 is allowed) giving 0 to 191, and '>'; otherwise kNoPriority.
int LeadingPriority(const char* message);

// The severity a priority carries (priority % 8): 0 emergency ... 7 debug.
constexpr int SeverityOf(int priority) {
    return priority % 8;
}

}  // namespace records
