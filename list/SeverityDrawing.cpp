// SeverityDrawing.cpp: colours chosen per row from the priority its message starts with.
#include "list/SeverityDrawing.h"

#include "list/MessageList.h"

#include "records/SyslogPriority.h"

namespace list {

namespace {

constexpr int kCritical = 2;
constexpr int kError = 3;
constexpr int kWarning = 4;

constexpr RowColours kCriticalColours = {RGB(255, 255, 255), RGB(139, 0, 0)};
constexpr RowColours kErrorColours = {RGB(210, 0, 0), CLR_DEFAULT};
constexpr RowColours kWarningColours = {RGB(200, 95, 0), CLR_DEFAULT};

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

LRESULT MessageList::DrawInSeverityColours(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    // Only the message is read: the sender is not formatted for a row it does not colour.
    const DWORD_PTR row = draw.nmcd.dwItemSpec;
    RowColours colours;
    if (row >= shown_.Count() || !SeverityColours(records::LeadingPriority(shown_.Row(row).message), colours))
        return CDRF_DODEFAULT;
    draw.clrText = colours.text;
    if (colours.background != CLR_DEFAULT) draw.clrTextBk = colours.background;
    return CDRF_NEWFONT;
}

}  // namespace list
