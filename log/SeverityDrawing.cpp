// SeverityDrawing.cpp: colours chosen per row from the priority its message starts with.
#include "log/SeverityDrawing.h"

#include "log/RowTexts.h"
#include "log/SyslogPriority.h"

namespace messagelog {

LRESULT DrawInSeverityColours(const records::ShownRows& rows, NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    RowTexts texts;
    RowColours colours;
    if (!ReadRowTexts(rows, static_cast<int>(draw.nmcd.dwItemSpec), texts) ||
        !SeverityColours(LeadingPriority(texts.message), colours))
        return CDRF_DODEFAULT;
    draw.clrText = colours.text;
    if (colours.background != CLR_DEFAULT) draw.clrTextBk = colours.background;
    return CDRF_NEWFONT;
}

}  // namespace messagelog
