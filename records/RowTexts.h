// RowTexts.h: the one place that reads a row's From and Details texts for find, copy and colours.
#pragma once

#include "net/DottedQuad.h"
#include "records/RecordStore.h"

namespace records {

struct RowTexts {
    char sender[net::kDottedQuadCapacity];
    const char* message;  // the row's own text: valid until the list is cleared
};

// False when the list has no such row.
bool ReadRowTexts(const RecordStore& rows, int row, RowTexts& out);

}  // namespace records
