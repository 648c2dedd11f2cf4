// ListView.cpp: the 8-bit LVM_ sends, each in one place.
#include "win/ListView.h"

#include "win/Window.h"

namespace win {

LRESULT ListView::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageA(control_, message, wParam, lParam);
}

bool ListView::Create(HWND parent, int id, DWORD style, const RECT& place) {
    control_ = CreateWindowExA(0, WC_LISTVIEWA, nullptr, style, place.left, place.top, place.right - place.left,
                               place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ModuleInstance(), nullptr);
    return control_ != nullptr;
}

void ListView::InsertColumn(int position, const char* header, int width, int format) {
    LVCOLUMNA column{};
    // Without LVCF_FMT, as a left-aligned column was always inserted.
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM | (format == LVCFMT_LEFT ? 0 : LVCF_FMT);
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(header);
    column.iSubItem = position;
    Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column));
}

void ListView::DeleteColumn(int position) {
    Send(LVM_DELETECOLUMN, static_cast<WPARAM>(position), 0);
}

void ListView::SetColumnOrder(const int* order, int count) {
    Send(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order));
}

bool ListView::ColumnOrder(int* order, int count) const {
    return Send(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order)) != 0;
}

HWND ListView::Header() const {
    return reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0));
}

int ListView::ColumnLeft(int position) const {
    const HWND header = Header();
    RECT column{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&column));
    MapWindowPoints(header, control_, reinterpret_cast<POINT*>(&column), 2);
    return column.left;
}

int ListView::ColumnWidth(int position) const {
    return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(position), 0));
}

void ListView::SetColumnWidth(int position, int width) {
    Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(position), width);
}

void ListView::SetExtendedStyle(DWORD style) {
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
}

void ListView::SwitchExtendedStyle(DWORD bits, bool on) {
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, bits, on ? bits : 0);
}

int ListView::Count() const {
    return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0));
}

void ListView::SetCount(size_t count, DWORD flags) {
    Send(LVM_SETITEMCOUNT, count, flags);
}

void ListView::DeleteAll() {
    Send(LVM_DELETEALLITEMS, 0, 0);
}

void ListView::DeleteRow(int row) {
    Send(LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

void ListView::InsertRow(int row, const char* firstColumnText) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(firstColumnText);
    Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListView::SetText(int row, int column, const char* text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int ListView::NextRow(int after, UINT flags) const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(after), flags));
}

bool ListView::IsSelected(int row) const {
    return HasStates(row, LVIS_SELECTED);
}

bool ListView::HasStates(int row, UINT mask) const {
    return (static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask)) & mask) == mask;
}

int ListView::SelectedCount() const {
    return static_cast<int>(Send(LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListView::SelectionMark() const {
    return static_cast<int>(Send(LVM_GETSELECTIONMARK, 0, 0));
}

int ListView::TopRow() const {
    return static_cast<int>(Send(LVM_GETTOPINDEX, 0, 0));
}

void ListView::SetState(int row, UINT mask, UINT state) {
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListView::SetSelectionMark(int row) {
    Send(LVM_SETSELECTIONMARK, 0, row);
}

void ListView::EnsureVisible(int row) {
    Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int ListView::RowAt(POINT client) const {
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int row = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEM) ? row : -1;
}

bool ListView::RowRect(int row, RECT& out) const {
    out = {LVIR_BOUNDS, 0, 0, 0};
    return Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&out)) != 0;
}

int ListView::RowHeight() const {
    RECT row;
    if (!RowRect(0, row)) return 0;
    return row.bottom - row.top;
}

int ListView::OuterHeight() const {
    RECT outer;
    GetWindowRect(control_, &outer);
    return outer.bottom - outer.top;
}

void ListView::ScrollBy(int pixelsDown) {
    Send(LVM_SCROLL, 0, pixelsDown);
}

void ListView::SetRedraw(bool on) {
    Send(WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

void ListView::InvalidateRows() {
    RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}

void ListView::PaintNow() {
    UpdateWindow(control_);
}

}  // namespace win
