// RowSelection.cpp: the Message list's selected rows, and finding a row.
#include "list/MessageList.h"

#include "records/RowTexts.h"

namespace list {

int MessageList::NextSelected(int after) const {
    return view_.NextRow(after, LVNI_SELECTED);
}

bool MessageList::AnySelected() {
    CatchUp();
    return NextSelected(win::ListView::kEveryRow) >= 0;
}

int MessageList::CurrentRow() {
    CatchUp();
    const int focused = view_.NextRow(win::ListView::kEveryRow, LVNI_FOCUSED);
    if (focused >= 0 && view_.IsSelected(focused)) return focused;
    return NextSelected(win::ListView::kEveryRow);
}

int MessageList::RowAtScreen(POINT screen) {
    CatchUp();
    ScreenToClient(view_.Handle(), &screen);
    return view_.RowAt(screen);
}

void MessageList::SelectOnly(int row) {
    view_.SetState(win::ListView::kEveryRow, LVIS_SELECTED, 0);
    view_.SetState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    view_.SetSelectionMark(row);
    view_.EnsureVisible(row);
}

void MessageList::SelectAll() {
    CatchUp();
    view_.SetState(win::ListView::kEveryRow, LVIS_SELECTED, LVIS_SELECTED);
}

bool MessageList::Find(const records::TextMatcher& matcher, bool down) {
    CatchUp();
    const int count = RowCount();
    const int start = records::SearchStart(CurrentRow(), count, down);
    const int found =
        records::FindRow(matcher, count, start, down, [this](int row, bool withSender, records::RowTexts& out) {
            return records::ReadRowTexts(book_.Shown(), row, withSender, out);
        });
    if (found < 0) return false;
    SelectOnly(found);
    return true;
}

bool MessageList::FindMarked(bool down) {
    CatchUp();
    const int count = RowCount();
    const int step = down ? 1 : -1;
    for (int row = records::SearchStart(CurrentRow(), count, down); row >= 0 && row < count; row += step) {
        if (!IsMarked(row)) continue;
        SelectOnly(row);
        return true;
    }
    return false;
}

}  // namespace list
