// MessageList.h: the report-view list over the record store that holds its rows.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "net/SyslogRecord.h"
#include "records/RecordStore.h"

namespace list {

// The control holds no rows of its own (owner data): it is told their count
// and asks for each text when it paints, searches or measures it.
class MessageList {
public:
    // mostStoredBytes: the most the rows may take from the system.
    explicit MessageList(size_t mostStoredBytes = records::RecordStore::kNoLimit) : store_(mostStoredBytes) {}

    // Creates the control as a child of parent at the given place; false on failure.
    bool Create(HWND parent, int x, int y, int width, int height);

    // Inserts the "From" and "Details" columns and sets the extended style.
    void SetUpColumns();

    HWND Handle() const { return list_; }
    const records::RecordStore& Rows() const { return store_; }

    // Copies the record into a new last row, then releases it. When the store
    // cannot grow the row is lost, and a diagnostic says so once until Clear.
    bool Append(net::RecordPtr record);

    // Deletes every row and gives their memory back.
    void Clear();

    // Answers the list's text and search requests; false for notices it
    // leaves to the default procedure. A double click is reported through rowDoubleClicked.
    bool HandleNotice(NMHDR& notice, LRESULT& result, int& rowDoubleClicked) const;

private:
    HWND list_ = nullptr;
    records::RecordStore store_;
    bool toldStoreFull_ = false;
};

// Keeps the columns' widths, the user's own included, the same size on a screen of another DPI.
void ScaleColumnWidths(HWND list, int fromDpi, int toDpi);

// The rows the control counts.
int RowCount(HWND list);

}  // namespace list
