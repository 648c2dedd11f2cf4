// RowsLeaving.cpp: the control told of rows that left the book's front, the user's place kept on the same messages.
#include "list/MessageList.h"

#include <algorithm>
#include <new>

namespace list {

namespace {

int RowsIn(const std::vector<RowRun>& runs) {
    int rows = 0;
    for (const RowRun& run : runs) rows += run.end - run.first;
    return rows;
}

// The runs as they stand once the first left rows have gone.
void MoveRunsUp(std::vector<RowRun>& runs, int left) {
    std::vector<RowRun> moved;
    moved.reserve(runs.size());
    for (const RowRun& run : runs) {
        if (run.end <= left) continue;
        moved.push_back({std::max(run.first, left) - left, run.end - left});
    }
    runs.swap(moved);
}

// One message per row changed: with most rows selected, every row is
// selected and the others unselected, else the selected ones are selected.
void SelectRuns(win::ListView& view, const std::vector<RowRun>& runs, int rowCount) {
    if (RowsIn(runs) * 2 <= rowCount) {
        for (const RowRun& run : runs)
            for (int row = run.first; row < run.end; ++row) view.SetState(row, LVIS_SELECTED, LVIS_SELECTED);
        return;
    }
    view.SetState(win::ListView::kEveryRow, LVIS_SELECTED, LVIS_SELECTED);
    int unselected = 0;
    for (const RowRun& run : runs) {
        for (; unselected < run.first; ++unselected) view.SetState(unselected, LVIS_SELECTED, 0);
        unselected = run.end;
    }
    for (; unselected < rowCount; ++unselected) view.SetState(unselected, LVIS_SELECTED, 0);
}

}  // namespace

// A pass over every row, made again only once the user has changed the selection or the focus.
void MessageList::ReadPlace() {
    const int selected = view_.SelectedCount();
    if (placeKnown_ && RowsIn(selectedRuns_) == selected) return;
    selectedRuns_.clear();
    int found = 0;
    for (int row = NextSelected(win::ListView::kEveryRow); row >= 0 && found < selected; row = NextSelected(row)) {
        ++found;
        if (!selectedRuns_.empty() && selectedRuns_.back().end == row)
            ++selectedRuns_.back().end;
        else
            selectedRuns_.push_back({row, row + 1});
    }
    focusedRow_ = view_.NextRow(win::ListView::kEveryRow, LVNI_FOCUSED);
    placeKnown_ = true;
}

// The control's first lag_ rows are gone from the book. The rows after them
// take their indices, and the selection, the focus and the mark go with
// them; the rows on screen stay where they are, so the view moves up by as
// many rows as left above it. A selected or focused row that left takes
// nobody with it.
void MessageList::LetLeftRowsGo() {
    if (lag_ == 0) return;
    const int left = static_cast<int>(lag_);
    lag_ = 0;
    const int top = view_.TopRow();
    const int mark = view_.SelectionMark();
    movingPlace_ = true;
    try {
        ReadPlace();
        if (!selectedRuns_.empty()) view_.SetState(win::ListView::kEveryRow, LVIS_SELECTED, 0);
        if (focusedRow_ >= 0) view_.SetState(focusedRow_, LVIS_FOCUSED, 0);
        MoveRunsUp(selectedRuns_, left);
    } catch (const std::bad_alloc&) {
        selectedRuns_.clear();  // without memory to move it, the selection goes rather than lands on other rows
    }
    const int rowCount = static_cast<int>(ViewedRows());
    view_.SetCount(static_cast<size_t>(rowCount), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    SelectRuns(view_, selectedRuns_, rowCount);
    focusedRow_ = focusedRow_ >= left ? focusedRow_ - left : -1;
    if (focusedRow_ >= 0) view_.SetState(focusedRow_, LVIS_FOCUSED, LVIS_FOCUSED);
    view_.SetSelectionMark(mark >= left ? mark - left : -1);
    movingPlace_ = false;

    const int rowHeight = view_.RowHeight();
    if (rowHeight > 0) view_.ScrollBy((std::max(0, top - left) - view_.TopRow()) * rowHeight);
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

}  // namespace list
