// SyslogPriority.cpp: the leading <N> read without interpreting anything else.
#include "records/SyslogPriority.h"

namespace records {

namespace {

constexpr int kHighestPriority = 191;  // facility 23, severity 7
constexpr int kMostDigits = 3;

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

}  // namespace records
