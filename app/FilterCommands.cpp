// FilterCommands.cpp: the Filter dialog, the filter's switch, the row items of the list's menu, and the title.
#include "app/MainWindow.h"

#include <new>
#include <utility>

#include "app/FilterTitle.h"
#include "diag/DiagnosticReporter.h"
#include "res/resource.h"
#include "ui/FilterDialog.h"

namespace app {

namespace {

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

bool MainWindow::OnFilterCommand(WORD commandId) {
    for (const RowItem& item : kRowItems) {
        if (item.command != commandId) continue;
        FilterByClickedRow(item.key, item.hide);
        return true;
    }
    switch (commandId) {
    case ID_VIEW_FILTER:
        EditFilter();
        return true;
    case ID_VIEW_FILTER_ON:
        if (book_.Shown().Filter().IsEmpty()) return true;
        ShowNewView(book_.SetFilterOn(!book_.Shown().InForce()));
        return true;
    case ID_LIST_SHOW_ALL_ROWS:
        ApplyFilter(records::RowFilter());
        return true;
    default:
        return false;
    }
}

// The dialog works on a copy: Cancel leaves the filter as it was.
void MainWindow::EditFilter() {
    try {
        records::RowFilter filter = book_.Shown().Filter();
        if (ui::EditFilter(Handle(), filter, book_.Held())) ApplyFilter(std::move(filter));
    } catch (const std::bad_alloc&) {
        diag::Report(E_OUTOFMEMORY, L"Cannot filter the rows: out of memory\n");
    }
}

void MainWindow::FilterByClickedRow(records::RowKey key, bool hide) {
    if (contextRow_ && records::HasKey(*contextRow_, key)) FilterByKeys(*contextRow_, key, hide);
}

// The other conditions stay as they are; the filter is turned on.
void MainWindow::FilterByKeys(const records::RowKeys& keys, records::RowKey key, bool hide) {
    try {
        records::RowFilter filter = book_.Shown().Filter();
        records::FilterByRow(filter, keys, key, hide);
        ApplyFilter(std::move(filter));
    } catch (const std::bad_alloc&) {
        diag::Report(E_OUTOFMEMORY, L"Cannot filter the rows: out of memory\n");
    }
}

void MainWindow::ApplyFilter(records::RowFilter filter) {
    ShowNewView(book_.ApplyFilter(std::move(filter)));
}

// With auto-scroll the newest shown row is in view, as it would be had the rows arrived so.
void MainWindow::ShowNewView(bool chosen) {
    if (!chosen) diag::Report(E_OUTOFMEMORY, L"Cannot filter the rows: out of memory\n");
    messageList_.ShowNewRows();
    const size_t shown = messageList_.ViewedRows();
    if (settings_ && settings_->Autoscroll && shown > 0)
        SendMessageA(messageList_.Handle(), LVM_ENSUREVISIBLE, shown - 1, FALSE);
    ShowFilterInTitle();
}

// A title set costs the window manager a round trip: during a flood the
// counts follow at most every kLongestPendingMs, and exactly when it ends; the
// status bar's at most every ui::StatusBar::kShortestIntervalMs.
void MainWindow::OnTurned(DeliveryPump::Turned turned) {
    if (turned == DeliveryPump::Turned::HoldingBack) return;
    statusBar_.Refresh(turned == DeliveryPump::Turned::Idle);
    const ULONGLONG now = GetTickCount64();
    if (turned == DeliveryPump::Turned::CaughtUp && now - titleCountedAt_ < DeliveryPump::kLongestPendingMs) return;
    titleCountedAt_ = now;
    ShowFilterInTitle();
}

// Untouched while no filter is in force, the list is not paused and capture
// is on, so the title stays exactly the program's name.
void MainWindow::ShowFilterInTitle() {
    TitleFacts facts;
    facts.filterInForce = book_.Shown().InForce();
    facts.shownRows = book_.Shown().Count();
    facts.heldRows = book_.Held().Count();
    facts.paused = messageList_.Paused();
    facts.newWhilePaused = messageList_.NewWhilePaused();
    facts.captureOff = !capture_.IsOn();
    if (facts.IsPlain() && !titleCounts_) return;
    char title[kTitleCapacity];
    FormatMainWindowTitle(facts, title);
    SetWindowTextA(Handle(), title);
    titleCounts_ = !facts.IsPlain();
}

// The row items act on the row given; without one, or when its header names
// no host (app), they are greyed, as "Show all rows" is while no filter is in
// force. The row's sender, host and app are copied now: while the menu is
// open rows keep arriving and the oldest may leave.
void MainWindow::AddFilterItems(HMENU popup, int senderRow) {
    contextRow_.reset();
    try {
        if (senderRow >= 0 && static_cast<size_t>(senderRow) < book_.Shown().Count())
            contextRow_ = records::KeysOfRow(book_.Shown().Row(static_cast<size_t>(senderRow)));
    } catch (const std::bad_alloc&) {
        // Greyed, as over no row.
    }
    for (const RowItem& item : kRowItems) {
        const bool enabled = contextRow_ && records::HasKey(*contextRow_, item.key);
        EnableMenuItem(popup, item.command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    EnableMenuItem(popup, ID_LIST_SHOW_ALL_ROWS,
                   MF_BYCOMMAND | (book_.Shown().InForce() ? MF_ENABLED : MF_GRAYED));
}

}  // namespace app
