// SyslogPriority.cpp: the leading <N> read without interpreting anything else, and the names it gives.
#include "records/SyslogPriority.h"

namespace records {

namespace {

constexpr int kHighestPriority = 191;  // facility 23, severity 7
constexpr size_t kMostDigits = 3;
constexpr size_t kLongestPriority = kMostDigits + 2;

const char* const kSeverityNames[kLowestSeverity + 1] = {"Emergency", "Alert",  "Critical",      "Error",
                                                         "Warning",   "Notice", "Informational", "Debug"};

const char* const kFacilityNames[kLastFacility + 1] = {
    "kern",   "user",   "mail",     "daemon", "auth",   "syslog",   "lpr",     "news",
    "uucp",   "cron",   "authpriv", "ftp",    "ntp",    "security", "console", "solaris-cron",
    "local0", "local1", "local2",   "local3", "local4", "local5",   "local6",  "local7"};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int LeadingPriority(const char* message) {
    size_t length = 0;
    while (length < kLongestPriority && message[length]) ++length;
    return LeadingPriority(message, length);
}

int LeadingPriority(const char* message, size_t length) {
    if (length == 0 || message[0] != '<') return kNoPriority;
    const char* digits = message + 1;
    const size_t available = length - 1;
    size_t count = 0;
    int value = 0;
    while (count < kMostDigits && count < available && IsDigit(digits[count]))
        value = value * 10 + (digits[count++] - '0');
    if (count == 0 || count == available || digits[count] != '>') return kNoPriority;
    if (digits[0] == '0' && count > 1) return kNoPriority;
    return value <= kHighestPriority ? value : kNoPriority;
}

const char* SeverityName(int severity) {
    return kSeverityNames[severity];
}

const char* FacilityName(int facility) {
    return kFacilityNames[facility];
}

}  // namespace records
