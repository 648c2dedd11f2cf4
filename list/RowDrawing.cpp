// RowDrawing.cpp: each row's colours, chosen as it is painted.
#include "list/RowDrawing.h"

#include "records/SyslogPriority.h"

namespace list {

namespace {

constexpr int kCritical = 2;
constexpr int kError = 3;
constexpr int kWarning = 4;

constexpr RowColours kCriticalColours = {RGB(255, 255, 255), RGB(139, 0, 0)};
constexpr RowColours kErrorColours = {RGB(210, 0, 0), CLR_DEFAULT};
constexpr RowColours kWarningColours = {RGB(200, 95, 0), CLR_DEFAULT};

COLORREF OrListColour(std::uint32_t colour) {
    return colour == records::kListColour ? CLR_DEFAULT : static_cast<COLORREF>(colour);
}

}  // namespace

bool SeverityColours(int priority, RowColours& out) {
    if (priority == records::kNoPriority) return false;
    const int severity = records::SeverityOf(priority);
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

RowColours RuleColours(const records::WatchRule& rule) {
    return {OrListColour(rule.textColour), OrListColour(rule.backgroundColour)};
}

}  // namespace list
