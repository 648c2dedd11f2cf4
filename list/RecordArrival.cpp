// RecordArrival.cpp: the file first, then the row, then the scroll; bursts shown at once.
#include "list/RecordArrival.h"

namespace list {

namespace {

int RowHeight(HWND list) {
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    if (!SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row))) return 0;
    return row.bottom - row.top;
}

// One list height in whole rows, rounded to the nearest as the control rounds
// a scroll amount in report view.
int RowsInOneListHeight(HWND list, int rowHeight) {
    RECT outer;
    GetWindowRect(list, &outer);
    const int height = outer.bottom - outer.top;
    return (height + rowHeight / 2) / rowHeight;
}

// Moves the view down by one list height; the control stops at the last row.
void ScrollByOneListHeight(HWND list) {
    RECT outer;
    GetWindowRect(list, &outer);
    SendMessageA(list, LVM_SCROLL, 0, outer.bottom - outer.top);
}

}  // namespace

bool RecordArrival::Arrive(net::RecordPtr record, const ArrivalTargets& targets) {
    if (targets.captureOn) {
        if (targets.captureFile.IsOpen()) {
            const StatusCode written = targets.captureFile.Write(*record);
            if (FAILED(written)) targets.captureFile.GiveUp(written);
        }
        if (targets.settings.ToDisplay) ShowRow(std::move(record), targets);
    }
    if (targets.moreRecordsQueued && GetTickCount64() - caughtUpAt_ < kLongestPendingMs) return false;
    CatchUp(targets.captureFile, targets.list.Handle());
    return true;
}

void RecordArrival::CatchUp(records::CaptureFile& captureFile, HWND list) {
    captureFile.Flush();
    Redraw(list);
    caughtUpAt_ = GetTickCount64();
}

void RecordArrival::ShowRow(net::RecordPtr record, const ArrivalTargets& targets) {
    const HWND list = targets.list.Handle();
    if (targets.moreRecordsQueued && !redrawSuspended_) {
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        redrawSuspended_ = true;
    }
    // A row the filter hides is held unseen: nothing scrolls for it.
    if (targets.list.Append(std::move(record)) == MessageList::Appended::Held) return;
    if (!targets.settings.Autoscroll) return;
    if (!redrawSuspended_) {
        ScrollByOneListHeight(list);
        return;
    }
    ++pendingScrolls_;  // measured once, when the burst is shown
}

void RecordArrival::Redraw(HWND list) {
    if (!redrawSuspended_) return;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    const int rowHeight = RowHeight(list);
    if (pendingScrolls_ > 0 && rowHeight > 0)
        SendMessageA(list, LVM_SCROLL, 0, pendingScrolls_ * RowsInOneListHeight(list, rowHeight) * rowHeight);
    pendingScrolls_ = 0;
    redrawSuspended_ = false;
    ++batchesShown_;
    // Painted now: during a flood the queue never empties for WM_PAINT's turn.
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
}

}  // namespace list
