// RowSearch.h: finding the next row whose From or Details text holds a given text.
#pragma once

#include <functional>

#include "records/RowTexts.h"
#include "records/TextMatcher.h"

namespace records {

// Reads one row's texts, its sender's only when withSender (formatting it
// costs as much as searching the message); false when the row is not there.
using RowReader = std::function<bool(int row, bool withSender, RowTexts& out)>;

// Where a search starts: the row after (or, going up, before) the current one,
// or the first (last) row when there is no current row (-1).
int SearchStart(int currentRow, int rowCount, bool down);

// The first row from start on, in the direction given, whose From or Details
// text holds the text; -1 when no row up to the end (or the top) does. The
// search does not wrap around.
int FindRow(const TextMatcher& matcher, int rowCount, int start, bool down, const RowReader& read);

}  // namespace records
