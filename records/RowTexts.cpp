// RowTexts.cpp: row texts read through the rows shown, the sender formatted from its address.
#include "records/RowTexts.h"

#include "records/ShownRows.h"

namespace records {

bool ReadRowTexts(const ShownRows& rows, int row, bool withSender, RowTexts& out) {
    if (row < 0 || static_cast<size_t>(row) >= rows.Count()) return false;
    const StoredRow stored = rows.Row(static_cast<size_t>(row));
    if (withSender) net::FormatDottedQuad(stored.senderAddress, out.sender);
    out.message = stored.message;
    return true;
}

}  // namespace records
