// SenderSearch.h: typing in the list jumps to the next row whose "From" text starts with what was typed.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "records/ShownRows.h"

namespace list {

// The shown row the list's search asks for among the first count, or -1: from the start row on, wrapping
// round when asked, a sender text that starts with the text (LVFI_PARTIAL) or
// equals it, among the first count rows shown. The control asks with wide
// text, as its cells are.
LRESULT FindRowBySender(const records::ShownRows& rows, size_t count, const NMLVFINDITEMW& find);

}  // namespace list
