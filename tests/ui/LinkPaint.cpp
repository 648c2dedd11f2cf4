// LinkPaint.cpp: one memory device context per request, its own font put back before it goes.
#include "tests/ui/LinkPaint.h"

namespace link_paint {

Colours Request(HWND target, UINT message, HWND control) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
    Colours colours{};
    colours.brush = SendMessageW(target, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    colours.text = GetTextColor(dc);
    colours.background = GetBkColor(dc);
    colours.backgroundMode = GetBkMode(dc);
    colours.font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    GetObjectA(colours.font, sizeof colours.fontDescription, &colours.fontDescription);
    // A font still selected could not be deleted by its owner.
    SelectObject(dc, originalFont);
    DeleteDC(dc);
    return colours;
}

}  // namespace link_paint
