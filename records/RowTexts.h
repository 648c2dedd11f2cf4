// RowTexts.h: the one place that reads a row's From and Details texts for find, copy and colours.
#pragma once

#include "net/DottedQuad.h"

namespace records {

class ShownRows;

struct RowTexts {
    char sender[net::kDottedQuadCapacity];
    const char* message;  // the row's own text: valid until the list is cleared
};

// The texts of a row the list shows, its sender's only when withSender;
// false when it shows no such row.
bool ReadRowTexts(const ShownRows& rows, int row, bool withSender, RowTexts& out);

}  // namespace records
