// RowSelection.h: which rows of the Message list are selected, and selecting them.
#pragma once

#include <windows.h>

namespace list {

// The next selected row after the one given (-1: from the top); -1 when there is none.
int NextSelectedRow(HWND list, int after);

// The row a search goes on from: the focused row when it is selected, else the
// first selected row; -1 when no row is selected.
int CurrentRow(HWND list);

// The row at a point on the screen, or -1.
int RowAt(HWND list, POINT screenPoint);

// Selects and focuses the row alone and scrolls it into view.
void SelectOnlyRow(HWND list, int row);

void SelectAllRows(HWND list);

}  // namespace list
