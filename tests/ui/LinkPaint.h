// LinkPaint.h: asking a control for its colours with a memory device context, as a paint would.
#pragma once

#include <windows.h>

namespace link_paint {

// A link's text before and after it has been opened.
constexpr COLORREF kUnvisited = RGB(0, 0, 255);
constexpr COLORREF kVisited = RGB(128, 0, 0);

// What a colour request answered and left in the device context.
struct Colours {
    LRESULT brush;
    COLORREF text;
    COLORREF background;
    int backgroundMode;
    HFONT font;  // the font selected by the request
    LOGFONTA fontDescription;
};

// Sends message (WM_CTLCOLORSTATIC to a dialog, or its reflected form to the
// control itself) to target about control, with a fresh memory device context.
Colours Request(HWND target, UINT message, HWND control);

}  // namespace link_paint
