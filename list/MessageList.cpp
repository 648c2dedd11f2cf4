// MessageList.cpp: the control, its rows as they arrive, scrolling, and its notices; texts on demand from the book.
#include "list/MessageList.h"

#include <algorithm>

#include "list/SenderSearch.h"
#include "res/resource.h"
#include "win/Dpi.h"

namespace list {

namespace {

constexpr DWORD kExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;
// The control's first columns, in every layout.
constexpr settings::ListColumn kFirstColumns[] = {settings::ListColumn::From, settings::ListColumn::Details};
constexpr int kFirstColumnCount = static_cast<int>(sizeof kFirstColumns / sizeof kFirstColumns[0]);

}  // namespace

// The selection stays shown without the focus: a row found from the Find dialog is seen while the dialog keeps it.
bool MessageList::Create(HWND parent, int x, int y, int width, int height) {
    constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
    return view_.Create(parent, IDC_MESSAGE_LIST, kStyle, {x, y, x + width, y + height});
}

void MessageList::SetUpColumns() {
    const int dpi = win::WindowDpi(view_.Handle());
    for (const settings::ListColumn column : kFirstColumns) {
        view_.InsertColumn(columnCount_, settings::ColumnName(column),
                           win::ScaleToDpi(settings::UsualColumnWidth(column), dpi));
        columnAt_[static_cast<size_t>(columnCount_++)] = column;
    }
    view_.SetExtendedStyle(kExtendedStyle);
}

// The optional columns are inserted afresh after the first two, and the order set over all of them.
void MessageList::ShowColumns(const settings::ColumnLayout& layout) {
    const int dpi = win::WindowDpi(view_.Handle());
    while (columnCount_ > kFirstColumnCount) view_.DeleteColumn(--columnCount_);
    int order[settings::kListColumnCount];
    for (size_t position = 0; position < layout.Count(); ++position) {
        const settings::ShownColumn& shown = layout[position];
        const int width = win::ScaleToDpi(shown.width, dpi);
        int index = shown.column == kFirstColumns[0] ? 0 : 1;
        if (settings::IsOptional(shown.column)) {
            index = columnCount_++;
            view_.InsertColumn(index, settings::ColumnName(shown.column), width);
            columnAt_[static_cast<size_t>(index)] = shown.column;
        } else {
            view_.SetColumnWidth(index, width);
        }
        order[position] = index;
    }
    view_.SetColumnOrder(order, columnCount_);
    view_.SwitchExtendedStyle(LVS_EX_HEADERDRAGDROP, !layout.IsPlain());
    SetOwnerDrawn(!layout.IsPlain());
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

settings::ColumnLayout MessageList::Columns() const {
    settings::ColumnLayout layout;
    int order[settings::kListColumnCount];
    if (!view_.ColumnOrder(order, columnCount_)) return layout;
    const int dpi = win::WindowDpi(view_.Handle());
    settings::ShownColumn shown[settings::kListColumnCount];
    for (int position = 0; position < columnCount_; ++position) {
        const int index = order[position];
        if (index < 0 || index >= columnCount_) return layout;
        shown[position] = {columnAt_[static_cast<size_t>(index)],
                           MulDiv(view_.ColumnWidth(index), win::kDesignDpi, dpi)};
    }
    layout.Set(shown, static_cast<size_t>(columnCount_));
    return layout;
}

void MessageList::ScaleColumnWidths(int fromDpi, int toDpi) {
    for (int position = 0; position < columnCount_; ++position)
        view_.SetColumnWidth(position, MulDiv(view_.ColumnWidth(position), toDpi, fromDpi));
}

int MessageList::ShownRowOfView(int viewRow) const {
    const int row = viewRow - static_cast<int>(lag_);
    return row >= 0 && static_cast<size_t>(row) < ViewedRows() ? row : -1;
}

size_t MessageList::ViewedRows() const {
    return paused_ ? book_.Shown().CountBefore(pausedAt_) : book_.Shown().Count();
}

// Only rows in the view leave it: while paused, rows that arrived since the pause may leave too.
void MessageList::Show(const records::Admission& admission, bool autoscroll, bool moreComing) {
    if (moreComing && !redrawHeld_) {
        view_.SetRedraw(false);
        redrawHeld_ = true;
    }
    lag_ += std::min(admission.departure.leftShown, static_cast<size_t>(RowCount()));
    // Only a new row in view is painted; the view stays where it is.
    const bool added = admission.shown && !paused_;
    // While held, counted once, when the burst is shown: each count lays the control out again.
    if (added && !redrawHeld_) view_.SetCount(book_.Shown().Count() + lag_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (!redrawHeld_) LetLeftRowsGo();
    if (!added || !autoscroll) return;
    if (redrawHeld_)
        ++pendingScrolls_;  // measured once, when the burst is shown
    else
        view_.ScrollBy(view_.OuterHeight());  // one list height; the control stops at the last row
}

void MessageList::RowsLeft(const records::Departure& departure) {
    lag_ += std::min(departure.leftShown, static_cast<size_t>(RowCount()));
    if (!redrawHeld_) LetLeftRowsGo();
}

void MessageList::ShowHeldBack() {
    if (!redrawHeld_) return;
    const size_t count = ViewedRows() + lag_;
    if (static_cast<size_t>(view_.Count()) != count) view_.SetCount(count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    view_.SetRedraw(true);
    redrawHeld_ = false;
    LetLeftRowsGo();
    // Invalid as a whole before the scroll, the list is painted once: the
    // scroll paints what it shows, where a repaint after it would paint it all again.
    view_.InvalidateRows();
    const int rowHeight = view_.RowHeight();
    if (pendingScrolls_ > 0 && rowHeight > 0) {
        // One list height in whole rows, rounded to the nearest as the control
        // rounds a scroll amount in report view.
        const int rowsPerHeight = (view_.OuterHeight() + rowHeight / 2) / rowHeight;
        view_.ScrollBy(pendingScrolls_ * rowsPerHeight * rowHeight);
    }
    pendingScrolls_ = 0;
    // Painted now: during a flood the queue never empties for WM_PAINT's turn.
    view_.PaintNow();
}

// What the user does between a flood's turns acts on the rows as shown then.
void MessageList::CatchUp() {
    if (redrawHeld_) ShowHeldBack();
}

void MessageList::Pause() {
    if (paused_) return;
    CatchUp();
    paused_ = true;
    pausedAt_ = book_.Held().FirstNumber() + book_.Held().Count();
}

void MessageList::Resume(bool autoscroll) {
    if (!paused_) return;
    CatchUp();
    paused_ = false;
    const size_t count = book_.Shown().Count();
    view_.SetCount(count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (autoscroll && count > 0) view_.EnsureVisible(static_cast<int>(count - 1));
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

// The store numbers its rows from 0 again: every row from now on arrived since the pause.
void MessageList::ForgetRows() {
    view_.DeleteAll();
    cells_.Forget();
    lag_ = 0;
    placeKnown_ = false;
    pausedAt_ = 0;
}

// The selection named rows of the view before. Emptied first, the control
// forgets it at once, where unselecting every row would visit each of them.
void MessageList::ShowNewRows(bool showNewest) {
    lag_ = 0;
    placeKnown_ = false;
    const size_t count = ViewedRows();
    view_.SetCount(0, 0);
    view_.SetCount(count, 0);
    if (showNewest && count > 0) view_.EnsureVisible(static_cast<int>(count - 1));
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

void MessageList::Redraw() {
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

// A row that has left is asked for only while the redraw is held, until the control hears of it.
void MessageList::SupplyCellText(LVITEMW& item) {
    const int row = ShownRowOfView(item.iItem);
    if (!(item.mask & LVIF_TEXT) || row < 0 || item.iSubItem < 0 || item.iSubItem >= columnCount_ || !item.pszText ||
        item.cchTextMax <= 0)
        return;
    cells_.Write(book_.Shown(), static_cast<size_t>(row), columnAt_[static_cast<size_t>(item.iSubItem)], item.pszText,
                 static_cast<size_t>(item.cchTextMax));
}

bool MessageList::HandleNotice(NMHDR& notice, bool colours, LRESULT& result, int& rowDoubleClicked) {
    rowDoubleClicked = -1;
    result = 0;
    switch (notice.code) {
    case NM_CUSTOMDRAW:
        // Rows painted here take their colours as they are painted.
        if (ownerDrawn_) {
            if (reinterpret_cast<const NMCUSTOMDRAW&>(notice).dwDrawStage == CDDS_PREPAINT) places_.known = false;
            result = CDRF_DODEFAULT;
            return true;
        }
        // With the colours off and no rules the list draws every row itself, as it always did.
        if (!colours && book_.Rules().Count() == 0) return false;
        result = DrawRow(reinterpret_cast<NMLVCUSTOMDRAW&>(notice), colours);
        return true;
    case LVN_GETDISPINFOW:
        SupplyCellText(reinterpret_cast<NMLVDISPINFOW&>(notice).item);
        return true;
    case LVN_ODFINDITEMW:
        CatchUp();
        result = FindRowBySender(book_.Shown(), ViewedRows(), reinterpret_cast<const NMLVFINDITEMW&>(notice));
        return true;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        // The user changed the selection or the focus: read them again when rows leave.
        if (!movingPlace_) placeKnown_ = false;
        return false;
    case NM_DBLCLK: {
        CatchUp();
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(view_.Handle(), &cursor);
        rowDoubleClicked = view_.RowAt(cursor);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace list
