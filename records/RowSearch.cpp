// RowSearch.cpp: a plain scan from the current row, allocation-free per row.
#include "records/RowSearch.h"

namespace records {

int SearchStart(int currentRow, int rowCount, bool down) {
    if (currentRow < 0 || currentRow >= rowCount) return down ? 0 : rowCount - 1;
    return down ? currentRow + 1 : currentRow - 1;
}

int FindRow(const TextMatcher& matcher, int rowCount, int start, bool down, const RowReader& read) {
    const int step = down ? 1 : -1;
    const bool inSenders = matcher.MayBeInSender();
    RowTexts texts;
    for (int row = start; row >= 0 && row < rowCount; row += step) {
        if (!read(row, inSenders, texts)) continue;
        if ((inSenders && matcher.FoundIn(texts.sender)) || matcher.FoundIn(texts.message)) return row;
    }
    return -1;
}

}  // namespace records
