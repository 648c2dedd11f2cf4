// FilterCommands.cpp: the filter's fields edited on a copy, the row items' table, and the view the list shows after.
#include "app/FilterCommands.h"

#include <new>
#include <utility>

#include "diag/DiagnosticReporter.h"
#include "res/resource.h"
#include "ui/FilterDialog.h"

namespace app {

namespace {

const wchar_t kFilterTheRows[] = L"filter the rows";

// The list menu's items that filter by the row clicked.
struct RowItem {
    WORD command;
    records::RowKey key;
    bool hide;
};
constexpr RowItem kRowItems[] = {
    {ID_LIST_SHOW_ONLY_SENDER, records::RowKey::kSender, false},
    {ID_LIST_HIDE_SENDER, records::RowKey::kSender, true},
    {ID_LIST_SHOW_ONLY_HOST, records::RowKey::kHost, false},
    {ID_LIST_HIDE_HOST, records::RowKey::kHost, true},
    {ID_LIST_SHOW_ONLY_APP, records::RowKey::kApp, false},
    {ID_LIST_HIDE_APP, records::RowKey::kApp, true},
};

}  // namespace

bool FilterCommands::OnCommand(WORD commandId, HWND owner, bool showNewest) {
    for (const RowItem& item : kRowItems) {
        if (item.command != commandId) continue;
        if (clickedRow_ && records::HasKey(*clickedRow_, item.key))
            FilterBy(*clickedRow_, item.key, item.hide, showNewest);
        return true;
    }
    switch (commandId) {
    case ID_VIEW_FILTER:
        Edit(owner, showNewest);
        return true;
    case ID_VIEW_FILTER_ON:
        if (!book_.Shown().Filter().IsEmpty()) ShowNewView(book_.SetFilterOn(!book_.Shown().InForce()), showNewest);
        return true;
    case ID_LIST_SHOW_ALL_ROWS:
        Apply(records::RowFilter(), showNewest);
        return true;
    default:
        return false;
    }
}

// The dialog works on a copy: Cancel leaves the filter as it was.
void FilterCommands::Edit(HWND owner, bool showNewest) {
    try {
        records::RowFilter filter = book_.Shown().Filter();
        if (ui::EditFilter(owner, filter, book_.Held())) Apply(std::move(filter), showNewest);
    } catch (const std::bad_alloc&) {
        diag::ReportOutOfMemory(kFilterTheRows);
    }
}

void FilterCommands::ShowOnly(const records::RowKeys& keys, records::RowKey key, bool showNewest) {
    FilterBy(keys, key, false, showNewest);
}

// The other conditions stay as they are; the filter is turned on.
void FilterCommands::FilterBy(const records::RowKeys& keys, records::RowKey key, bool hide, bool showNewest) {
    try {
        records::RowFilter filter = book_.Shown().Filter();
        records::FilterByRow(filter, keys, key, hide);
        Apply(std::move(filter), showNewest);
    } catch (const std::bad_alloc&) {
        diag::ReportOutOfMemory(kFilterTheRows);
    }
}

void FilterCommands::Apply(records::RowFilter filter, bool showNewest) {
    ShowNewView(book_.ApplyFilter(std::move(filter)), showNewest);
}

void FilterCommands::ShowNewView(bool chosen, bool showNewest) {
    if (!chosen) diag::ReportOutOfMemory(kFilterTheRows);
    list_.ShowNewRows(showNewest);
}

void FilterCommands::AddRowItems(HMENU popup, int row) {
    clickedRow_.reset();
    try {
        if (row >= 0 && static_cast<size_t>(row) < book_.Shown().Count())
            clickedRow_ = records::KeysOfRow(book_.Shown().Row(static_cast<size_t>(row)));
    } catch (const std::bad_alloc&) {
        // Greyed, as over no row.
    }
    for (const RowItem& item : kRowItems) {
        const bool enabled = clickedRow_ && records::HasKey(*clickedRow_, item.key);
        EnableMenuItem(popup, item.command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    EnableMenuItem(popup, ID_LIST_SHOW_ALL_ROWS, MF_BYCOMMAND | (book_.Shown().InForce() ? MF_ENABLED : MF_GRAYED));
}

}  // namespace app
