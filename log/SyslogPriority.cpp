// SyslogPriority.cpp: the leading <N> read without interpreting anything else.
#include "log/SyslogPriority.h"

namespace messagelog {

namespace {

constexpr int kHighestPriority = 191;  // facility 23, severity 7
constexpr int kMostDigits = 3;
constexpr int kCritical = 2;
constexpr int kError = 3;
constexpr int kWarning = 4;

constexpr RowColours kCriticalColours = {RGB(255, 255, 255), RGB(139, 0, 0)};
constexpr RowColours kErrorColours = {RGB(210, 0, 0), CLR_DEFAULT};
constexpr RowColours kWarningColours = {RGB(200, 95, 0), CLR_DEFAULT};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int LeadingPriority(const char* message) {
    if (message[0] != '<') return kNoPriority;
    const char* digits = message + 1;
    int count = 0;
    int value = 0;
    while (count < kMostDigits && IsDigit(digits[count])) value = value * 10 + (digits[count++] - '0');
    if (count == 0 || digits[count] != '>') return kNoPriority;
    if (digits[0] == '0' && count > 1) return kNoPriority;
    return value <= kHighestPriority ? value : kNoPriority;
}

bool SeverityColours(int priority, RowColours& out) {
    if (priority == kNoPriority) return false;
    const int severity = priority % kSeverities;
    if (severity <= kCritical)
        out = kCriticalColours;
    else if (severity == kError)
        out = kErrorColours;
    else if (severity == kWarning)
        out = kWarningColours;
    else
        return false;
    return true;
}

}  // namespace messagelog
