// DialogItemText.h: a dialog control's text in 8 bits, as the list shows the rows' bytes.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

std::string DialogItemText(HWND dialog, int id);

}  // namespace ui
