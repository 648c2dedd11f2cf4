// RowSearch.cpp: a plain scan, allocation-free per row.
#include "records/RowSearch.h"

#include <windows.h>

namespace records {

TextMatcher::TextMatcher(const char* text, bool matchCase) : wanted_(reinterpret_cast<const unsigned char*>(text)) {
    for (int byte = 0; byte < 256; ++byte) {
        char folded = static_cast<char>(byte);
        if (!matchCase && byte != 0) CharLowerBuffA(&folded, 1);
        fold_[byte] = static_cast<unsigned char>(folded);
    }
}

bool TextMatcher::FoundIn(const char* text) const {
    if (!wanted_[0]) return true;
    for (const auto* at = reinterpret_cast<const unsigned char*>(text); *at; ++at) {
        if (fold_[*at] != fold_[wanted_[0]]) continue;
        size_t matched = 1;
        while (wanted_[matched] && at[matched] && fold_[at[matched]] == fold_[wanted_[matched]]) ++matched;
        if (!wanted_[matched]) return true;
    }
    return false;
}

int SearchStart(int currentRow, int rowCount, bool down) {
    if (currentRow < 0 || currentRow >= rowCount) return down ? 0 : rowCount - 1;
    return down ? currentRow + 1 : currentRow - 1;
}

int FindRow(const TextMatcher& matcher, int rowCount, int start, bool down, const RowReader& read) {
    const int step = down ? 1 : -1;
    RowTexts texts;
    for (int row = start; row >= 0 && row < rowCount; row += step) {
        if (!read(row, texts)) continue;
        if (matcher.FoundIn(texts.sender) || matcher.FoundIn(texts.message)) return row;
    }
    return -1;
}

}  // namespace records
