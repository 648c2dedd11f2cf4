// FilterCommands.cpp: the Filter dialog, the filter's switch, the sender items of the list's menu, and the title.
#include "app/MainWindow.h"

#include <algorithm>
#include <new>
#include <utility>

#include "app/FilterTitle.h"
#include "diag/DiagnosticReporter.h"
#include "res/resource.h"
#include "ui/FilterDialog.h"

namespace app {

bool MainWindow::OnFilterCommand(WORD commandId) {
    switch (commandId) {
    case ID_VIEW_FILTER:
        EditFilter();
        return true;
    case ID_VIEW_FILTER_ON:
        if (book_.Shown().Filter().IsEmpty()) return true;
        ShowNewView(book_.SetFilterOn(!book_.Shown().InForce()));
        return true;
    case ID_LIST_SHOW_ONLY_SENDER:
    case ID_LIST_HIDE_SENDER:
        if (contextSender_) FilterBySender(commandId, *contextSender_);
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

// The other conditions stay as they are; the filter is turned on.
void MainWindow::FilterBySender(WORD commandId, std::uint32_t sender) {
    try {
        records::RowFilter filter = book_.Shown().Filter();
        const bool addToHidden = commandId == ID_LIST_HIDE_SENDER && filter.hideSenders && !filter.senders.empty();
        if (!addToHidden) filter.senders.clear();
        if (std::find(filter.senders.begin(), filter.senders.end(), sender) == filter.senders.end())
            filter.senders.push_back(sender);
        filter.hideSenders = commandId == ID_LIST_HIDE_SENDER;
        ApplyFilter(std::move(filter));
    } catch (const std::bad_alloc&) {
        diag::Report(E_OUTOFMEMORY, L"Cannot filter the rows: out of memory\n");
    }
}

// As the list's "Show only this sender" does, for a sender chosen in the Traffic window.
void MainWindow::ShowOnlySender(std::uint32_t sender) {
    FilterBySender(ID_LIST_SHOW_ONLY_SENDER, sender);
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

// The sender items act on the row given; without one they are greyed, as
// "Show all rows" is while no filter is in force. The sender is taken now:
// while the menu is open rows keep arriving and the oldest may leave.
void MainWindow::AddFilterItems(HMENU popup, int senderRow) {
    contextSender_.reset();
    if (senderRow >= 0 && static_cast<size_t>(senderRow) < book_.Shown().Count())
        contextSender_ = book_.Shown().Row(static_cast<size_t>(senderRow)).senderAddress;
    const UINT senderState = MF_BYCOMMAND | (contextSender_ ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(popup, ID_LIST_SHOW_ONLY_SENDER, senderState);
    EnableMenuItem(popup, ID_LIST_HIDE_SENDER, senderState);
    EnableMenuItem(popup, ID_LIST_SHOW_ALL_ROWS,
                   MF_BYCOMMAND | (book_.Shown().InForce() ? MF_ENABLED : MF_GRAYED));
}

}  // namespace app
