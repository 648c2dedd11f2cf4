// SyslogPriority.h: the priority <N> a syslog message may start with, its facility and severity, and their names.
#pragma once

#include <cstddef>

namespace records {

constexpr int kNoPriority = -1;
constexpr int kLowestSeverity = 7;  // debug
constexpr int kLastFacility = 23;   // local7

// N when the message starts with '<', one to three digits without a leading
// zero (a lone 0 is allowed) giving 0 to 191, and '>'; otherwise kNoPriority.
int LeadingPriority(const char* message);

// The same for a message of length bytes, of which none past the last is read.
int LeadingPriority(const char* message, size_t length);

// How many bytes "<N>" takes for a priority LeadingPriority gave.
constexpr size_t PriorityLength(int priority) {
    return priority < 10 ? 3 : priority < 100 ? 4 : 5;
}

// The severity a priority carries (priority % 8): 0 emergency ... 7 debug.
constexpr int SeverityOf(int priority) {
    return priority % 8;
}

// Whether the priority is of severity 0 (emergency) to 3 (error); no priority is not.
constexpr bool IsErrorOrWorse(int priority) {
    return priority != kNoPriority && SeverityOf(priority) <= 3;
}

// The facility a priority carries (priority / 8): 0 kern ... 23 local7.
constexpr int FacilityOf(int priority) {
    return priority / 8;
}

// The name of a severity from 0 (Emergency) to kLowestSeverity (Debug).
const char* SeverityName(int severity);

// The name of a facility from 0 (kern) to kLastFacility (local7).
const char* FacilityName(int facility);

}  // namespace records
