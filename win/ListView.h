// ListView.h: a list-view control in report view, spoken to through its 8-bit messages.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>

namespace win {

// Typed sends for the messages the program uses; it owns nothing: the
// control is destroyed with its parent. A row index of kEveryRow stands for
// all rows where the control allows it.
class ListView {
public:
    static constexpr int kEveryRow = -1;

    ListView() = default;
    explicit ListView(HWND control) : control_(control) {}

    HWND Handle() const { return control_; }

    // Creates the control as a child with the given style and id; false on failure.
    bool Create(HWND parent, int id, DWORD style, const RECT& place);

    // A column of the text given, left-aligned unless the format (LVCFMT_*) says otherwise.
    void InsertColumn(int position, const char* header, int width, int format = LVCFMT_LEFT);
    void DeleteColumn(int position);
    int ColumnWidth(int position) const;
    void SetColumnWidth(int position, int width);
    // The columns' positions left to right, as the order they were inserted in.
    void SetColumnOrder(const int* order, int count);
    bool ColumnOrder(int* order, int count) const;
    HWND Header() const;
    // Where a column's left edge lies in the control's client area, as it is scrolled.
    int ColumnLeft(int position) const;
    void SetExtendedStyle(DWORD style);
    // Sets or clears the extended style's bits, leaving the others.
    void SwitchExtendedStyle(DWORD bits, bool on);

    int Count() const;
    // An owner-data list's row count; flags as LVM_SETITEMCOUNT takes them.
    void SetCount(size_t count, DWORD flags);
    void DeleteAll();
    // A row of a list that holds its texts.
    void DeleteRow(int row);
    // A row of a list that holds its texts (not owner data): the control keeps a copy of each.
    void InsertRow(int row, const char* firstColumnText);
    void SetText(int row, int column, const char* text);

    // The next row after the one given (kEveryRow: from the top) that has every state in flags; -1 for none.
    int NextRow(int after, UINT flags) const;
    bool IsSelected(int row) const;
    // Whether the row has every state in mask.
    bool HasStates(int row, UINT mask) const;
    int SelectedCount() const;
    void SetState(int row, UINT mask, UINT state);
    // The row a Shift+click selects from, or -1.
    int SelectionMark() const;
    void SetSelectionMark(int row);
    // The first row in view.
    int TopRow() const;
    void EnsureVisible(int row);

    // The row at a point in the control's client area, or -1.
    int RowAt(POINT client) const;
    // Where a row lies in the client area, all its columns; false when the row is not there.
    bool RowRect(int row, RECT& out) const;
    // A row's height in pixels, or 0 when the list has no row.
    int RowHeight() const;
    // The control's outer height in pixels.
    int OuterHeight() const;
    void ScrollBy(int pixelsDown);

    void SetRedraw(bool on);
    // The rows' whole area to be painted, the header left as it is.
    void InvalidateRows();
    // Paints now whatever is invalid.
    void PaintNow();

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND control_ = nullptr;
};

}  // namespace win
