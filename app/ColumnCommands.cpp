// ColumnCommands.cpp: one item per optional column; the header's menu is the View menu's Columns popup.
#include "app/ColumnCommands.h"

#include <windowsx.h>

#include "res/resource.h"
#include "win/Window.h"

namespace app {

namespace {

struct ColumnItem {
    WORD command;
    settings::ListColumn column;
};
constexpr ColumnItem kItems[] = {
    {ID_COLUMN_RECEIVED, settings::ListColumn::Received}, {ID_COLUMN_TIME, settings::ListColumn::Time},
    {ID_COLUMN_HOST, settings::ListColumn::Host},         {ID_COLUMN_FACILITY, settings::ListColumn::Facility},
    {ID_COLUMN_SEVERITY, settings::ListColumn::Severity}, {ID_COLUMN_APP, settings::ListColumn::App},
    {ID_COLUMN_PID, settings::ListColumn::Pid},           {ID_COLUMN_MSGID, settings::ListColumn::MsgId},
    {ID_COLUMN_MESSAGE, settings::ListColumn::Message},
};

// The popup, at any depth, that holds the command itself.
HMENU PopupHolding(HMENU menu, UINT command) {
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        if (GetMenuItemID(menu, position) == command) return menu;
        if (const HMENU popup = GetSubMenu(menu, position))
            if (const HMENU holding = PopupHolding(popup, command)) return holding;
    }
    return nullptr;
}

}  // namespace

bool ColumnCommands::OnCommand(WORD commandId) {
    for (const ColumnItem& item : kItems) {
        if (item.command != commandId) continue;
        settings::ColumnLayout layout = list_.Columns();
        layout.Show(item.column, !layout.Shows(item.column));
        list_.ShowColumns(layout);
        return true;
    }
    return false;
}

void ColumnCommands::CheckItems(HMENU popup) const {
    const settings::ColumnLayout layout = list_.Columns();
    for (const ColumnItem& item : kItems)
        CheckMenuItem(popup, item.command, MF_BYCOMMAND | (layout.Shows(item.column) ? MF_CHECKED : MF_UNCHECKED));
}

bool ColumnCommands::OnContextMenu(HWND owner, HWND window, LPARAM position) {
    if (window != list_.Header()) return false;
    const POINT at = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    const HMENU menu = LoadMenuA(win::ModuleInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!menu) return true;
    // The popup's check marks are set as it opens (WM_INITMENUPOPUP).
    if (const HMENU popup = PopupHolding(menu, kItems[0].command)) {
        const UINT chosen = static_cast<UINT>(
            TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
        if (chosen) OnCommand(static_cast<WORD>(chosen));
    }
    DestroyMenu(menu);
    return true;
}

}  // namespace app
