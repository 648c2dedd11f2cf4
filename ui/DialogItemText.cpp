// DialogItemText.cpp: read at the length the control reports.
#include "ui/DialogItemText.h"

namespace ui {

std::string DialogItemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
    return text;
}

}  // namespace ui
