// ColumnCommands.h: the optional columns shown or hidden from View > Columns and the list header's right-click menu.
#pragma once

#include <windows.h>

#include "list/MessageList.h"

namespace app {

// Holds nothing of its own: the list shows the columns, and the Settings
// take them from the list at exit.
class ColumnCommands {
public:
    explicit ColumnCommands(list::MessageList& list) : list_(list) {}
    ColumnCommands(const ColumnCommands&) = delete;
    ColumnCommands& operator=(const ColumnCommands&) = delete;

    // A column's item: the column is shown, or hidden when it was shown. False for any other command.
    bool OnCommand(WORD commandId);
    // Each column's item is checked while the column is shown, in whatever popup holds them.
    void CheckItems(HMENU popup) const;
    // A right-click on the list's header opens the Columns menu where the
    // pointer is, owned by owner. False for a right-click anywhere else.
    bool OnContextMenu(HWND owner, HWND window, LPARAM position);

private:
    list::MessageList& list_;
};

}  // namespace app
