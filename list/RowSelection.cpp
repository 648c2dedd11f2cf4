// RowSelection.cpp: the list-view's item states.
#include "list/RowSelection.h"

#include <commctrl.h>

namespace list {

namespace {

constexpr WPARAM kEveryRow = static_cast<WPARAM>(-1);

void SetRowState(HWND list, WPARAM row, UINT mask, UINT state) {
    LVITEMA item{};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int NextSelectedRow(HWND list, int after) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
}

int CurrentRow(HWND list) {
    const int focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, kEveryRow, LVNI_FOCUSED));
    if (focused >= 0 && SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(focused), LVIS_SELECTED))
        return focused;
    return NextSelectedRow(list, -1);
}

int RowAt(HWND list, POINT screenPoint) {
    LVHITTESTINFO hit{};
    hit.pt = screenPoint;
    ScreenToClient(list, &hit.pt);
    const int index = static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEM) ? index : -1;
}

void SelectOnlyRow(HWND list, int row) {
    SetRowState(list, kEveryRow, LVIS_SELECTED, 0);
    SetRowState(list, static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void SelectAllRows(HWND list) {
    SetRowState(list, kEveryRow, LVIS_SELECTED, LVIS_SELECTED);
}

}  // namespace list
