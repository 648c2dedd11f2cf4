// RowTexts.cpp: row texts read from the record each row holds.
#include "log/RowTexts.h"

#include <cstring>

#include "log/MessageList.h"

namespace messagelog {

bool ReadRowTexts(HWND list, int row, RowTexts& out) {
    const net::SyslogRecord* record = RecordAtRow(list, row);
    if (!record) return false;
    const size_t length = strnlen(record->sender, kSenderCapacity - 1);
    std::memcpy(out.sender, record->sender, length);
    out.sender[length] = '\0';
    out.message = record->message;
    return true;
}

}  // namespace messagelog
