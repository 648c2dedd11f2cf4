// RowSearch.cpp: a plain scan, allocation-free per row.
#include "log/RowSearch.h"

#include <windows.h>

namespace messagelog {

TextMatcher::TextMatcher(const char* text, bool matchCase) {
    for (int byte = 0; byte < 256; ++byte) {
        char folded = static_cast<char>(byte);
        if (!matchCase && byte != 0) CharLowerBuffA(&folded, 1);
        fold_[byte] = static_cast<unsigned char>(folded);
    }
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        folded_.push_back(static_cast<char>(fold_[*p]));
}

bool TextMatcher::FoundIn(const char* text) const {
    const auto* wanted = reinterpret_cast<const unsigned char*>(folded_.c_str());
    const size_t length = folded_.size();
    if (length == 0) return true;
    for (const auto* at = reinterpret_cast<const unsigned char*>(text); *at; ++at) {
        if (fold_[*at] != wanted[0]) continue;
        size_t matched = 1;
        while (matched < length && at[matched] && fold_[at[matched]] == wanted[matched]) ++matched;
        if (matched == length) return true;
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

}  // namespace messagelog
