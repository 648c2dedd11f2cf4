// RowCustomDraw.cpp: while the list draws its rows itself, each row's colours and mark told as it is drawn.
#include "list/MessageList.h"

#include "records/SyslogPriority.h"
#include "win/Dpi.h"

namespace list {

bool MessageList::IsMarked(int row) const {
    const int shown = ShownRowOfView(row);
    if (shown < 0) return false;
    const int rule = book_.Shown().Row(static_cast<size_t>(shown)).firstRule;
    return rule != records::kNoRule && book_.Rules().Rule(static_cast<size_t>(rule)).mark;
}

// A rule's colours come before the severity's; only the message is read, so
// the sender is not formatted for a row that is painted.
LRESULT MessageList::DrawRow(NMLVCUSTOMDRAW& draw, bool severityColours) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const int shown = ShownRowOfView(row);
    if (shown < 0) return CDRF_DODEFAULT;
    const records::StoredRow stored = book_.Shown().Row(static_cast<size_t>(shown));
    const int rule = stored.firstRule;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPOSTPAINT) {
        if (IsMarked(row)) DrawMark(draw.nmcd.hdc, row);
        return CDRF_DODEFAULT;
    }
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    RowColours colours = {CLR_DEFAULT, CLR_DEFAULT};
    LRESULT asked = CDRF_DODEFAULT;
    if (rule != records::kNoRule) {
        const records::WatchRule& watched = book_.Rules().Rule(static_cast<size_t>(rule));
        colours = RuleColours(watched);
        if (watched.mark) asked |= CDRF_NOTIFYPOSTPAINT;
    } else if (!severityColours || !SeverityColours(records::LeadingPriority(stored.message), colours)) {
        return CDRF_DODEFAULT;
    }
    if (colours.text != CLR_DEFAULT) draw.clrText = colours.text;
    if (colours.background != CLR_DEFAULT) draw.clrTextBk = colours.background;
    return asked | CDRF_NEWFONT;
}

// In the list's text colour: it lies in the margin left of the row's colours,
// which is always in the list's own background.
void MessageList::DrawMark(HDC dc, int row) const {
    RECT cell;
    if (!view_.RowRect(row, cell)) return;
    const COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
    const int inset = win::ScaleToDpi(1, win::WindowDpi(view_.Handle()));
    cell.top += inset;
    cell.bottom -= inset;
    cell.right = cell.left + win::ScaleToDpi(kMarkWidth, win::WindowDpi(view_.Handle()));
    const HBRUSH brush = CreateSolidBrush(colour);
    if (!brush) return;
    FillRect(dc, &cell, brush);
    DeleteObject(brush);
}

}  // namespace list
