// RowClipboard.h: the selected rows copied to the clipboard as Capture lines.
#pragma once

#include <windows.h>

#include <string>

#include "records/ShownRows.h"

namespace list {

// The selected rows' Capture lines, one per row, in list order.
std::string SelectedRowsAsCaptureLines(HWND list, const records::ShownRows& rows);

// Puts the selected rows on the clipboard as 8-bit text; with no row selected
// the clipboard is left as it is. False when the clipboard could not be had.
bool CopySelectedRows(HWND owner, HWND list, const records::ShownRows& rows);

}  // namespace list
