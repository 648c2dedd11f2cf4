// FilterCommands.h: the Filter dialog, the filter's switch and the list menu's row items, over the row book and the list.
#pragma once

#include <windows.h>

#include <optional>

#include "list/MessageList.h"
#include "records/FilterByRow.h"
#include "records/RowBook.h"
#include "records/RowFilter.h"

namespace app {

// The filter lasts for the run; the list shows the rows it lets through.
// showNewest: with auto-scroll, a new view shows its newest row, as had the
// rows arrived so. After a command the rows shown may be others: the title
// counts them.
class FilterCommands {
public:
    FilterCommands(records::RowBook& book, list::MessageList& list) : book_(book), list_(list) {}
    FilterCommands(const FilterCommands&) = delete;
    FilterCommands& operator=(const FilterCommands&) = delete;

    // False for a command that is not the filter's.
    bool OnCommand(WORD commandId, HWND owner, bool showNewest);
    // The row items of the list's menu, for the row it was opened on (-1 for
    // none): greyed without a row, or when its header names no host (app).
    // The row's sender, host and app are copied now: while the menu is open
    // rows keep arriving and the oldest may leave.
    void AddRowItems(HMENU popup, int row);
    // What OK in the Filter dialog does: the list shows the rows that pass.
    void Apply(records::RowFilter filter, bool showNewest);
    // As the list's "Show only this ..." items do, for a row's keys chosen elsewhere (the Traffic window).
    void ShowOnly(const records::RowKeys& keys, records::RowKey key, bool showNewest);

private:
    void Edit(HWND owner, bool showNewest);
    void FilterBy(const records::RowKeys& keys, records::RowKey key, bool hide, bool showNewest);
    void ShowNewView(bool chosen, bool showNewest);

    records::RowBook& book_;
    list::MessageList& list_;
    std::optional<records::RowKeys> clickedRow_;  // the keys of the row the list's menu was opened on
};

}  // namespace app
