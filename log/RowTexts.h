// RowTexts.h: the one place that reads a row's From and Details texts for find, copy and colours.
#pragma once

#include <windows.h>

namespace messagelog {

// A dotted quad with its terminator fits in 16 bytes.
constexpr int kSenderCapacity = 16;

struct RowTexts {
    char sender[kSenderCapacity];
    const char* message;  // the row's own text: valid until the list changes
};

// False when the list has no such row.
bool ReadRowTexts(HWND list, int row, RowTexts& out);

}  // namespace messagelog
