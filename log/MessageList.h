// MessageList.h: the report-view list with one row per record; each row owns its record.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "net/SyslogRecord.h"

namespace messagelog {

constexpr int kMessageListId = 1;

// Creates the list as a child of parent at the given place; null on failure.
HWND CreateMessageList(HWND parent, int x, int y, int width, int height);

// Inserts the "From" and "Details" columns and sets the extended style.
void SetUpMessageListColumns(HWND list);

// Keeps the columns' widths, the user's own included, the same size on a screen of another DPI.
void ScaleColumnWidths(HWND list, int fromDpi, int toDpi);

int RowCount(HWND list);

// Appends a row that takes the record over and asks for its texts on demand.
// A row the list refuses releases its record at once; answers whether the row exists.
bool AppendRow(HWND list, net::RecordPtr record);

// The record a row holds, still owned by the row.
const net::SyslogRecord* RecordAtRow(HWND list, int index);

// Deletes every row; each releases its record.
void DeleteAllRows(HWND list);

// The row under the cursor's current position, or -1.
int RowUnderCursor(HWND list);

// Answers the list's text requests and delete notices; false for notices it
// leaves to the default procedure. A double click is reported through rowDoubleClicked.
bool HandleMessageListNotice(NMHDR& notice, LRESULT& result, int& rowDoubleClicked);

}  // namespace messagelog
