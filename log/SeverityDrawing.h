// SeverityDrawing.h: the Message list's rows drawn in their severity's colours.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "records/ShownRows.h"

namespace messagelog {

// Answers the list's custom-draw notice: asks for each row's notice and gives
// a row with a severity colour its colours; everything else is drawn as always.
LRESULT DrawInSeverityColours(const records::ShownRows& rows, NMLVCUSTOMDRAW& draw);

}  // namespace messagelog
