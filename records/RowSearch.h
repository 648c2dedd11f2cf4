// RowSearch.h: finding the next row whose From or Details text holds a given text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "records/RowTexts.h"

namespace records {

// The text looked for, as the 8-bit code page has it (how it is typed), with
// or without regard to case. A text is searched as it is shown: one shown in
// the code page byte by byte, case as the code page has it; one shown as
// UTF-8 in its wide characters, the text looked for converted from the code
// page. A tab matches a space, as it is shown as one. It refers to the text,
// which must outlive it; only its wide form is made once here, so a search
// allocates nothing per row.
class TextMatcher {
public:
    TextMatcher(const char* text, bool matchCase);
    bool FoundIn(const char* text) const;

private:
    bool FoundInBytes(const unsigned char* text, bool& above7F) const;
    bool FoundInUtf8(const char* text, size_t length) const;
    wchar_t Folded(wchar_t c) const;

    const unsigned char* wanted_;
    unsigned char fold_[256];
    std::wstring wantedWide_;  // folded
    bool matchCase_;
};

// Reads one row's texts; false when the row is not there.
using RowReader = std::function<bool(int row, RowTexts& out)>;

// Where a search starts: the row after (or, going up, before) the current one,
// or the first (last) row when there is no current row (-1).
int SearchStart(int currentRow, int rowCount, bool down);

// The first row from start on, in the direction given, whose From or Details
// text holds the text; -1 when no row up to the end (or the top) does. The
// search does not wrap around.
int FindRow(const TextMatcher& matcher, int rowCount, int start, bool down, const RowReader& read);

}  // namespace records
