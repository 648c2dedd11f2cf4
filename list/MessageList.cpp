// MessageList.cpp: the control, its rows as they arrive, scrolling, and its notices; texts on demand from the book.
#include "list/MessageList.h"

#include <algorithm>
#include <cstring>

#include "list/SenderSearch.h"
#include "net/DottedQuad.h"
#include "res/resource.h"
#include "win/Dpi.h"

namespace list {

namespace {

constexpr DWORD kExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;

struct Column {
    const char* header;
    int width;  // at 96 DPI
};
constexpr Column kColumns[] = {{"From", 75}, {"Details", 800}};
constexpr int kColumnCount = static_cast<int>(sizeof kColumns / sizeof kColumns[0]);

constexpr int kSenderColumn = 0;
constexpr int kMessageColumn = 1;

// Copies as many bytes as fit, always terminated; nothing is interpreted.
void CopyCellText(const char* text, size_t length, char* buffer, int capacity) {
    if (capacity <= 0 || !buffer) return;
    const size_t room = static_cast<size_t>(capacity) - 1;
    const size_t copied = length < room ? length : room;
    std::memcpy(buffer, text, copied);
    buffer[copied] = '\0';
}

// A row that has left is asked for only while the redraw is held, until the control hears of it.
void SupplyCellText(const records::ShownRows& rows, int row, NMLVDISPINFOA& request) {
    LVITEMA& item = request.item;
    if (!(item.mask & LVIF_TEXT) || row < 0) return;
    const records::StoredRow stored = rows.Row(static_cast<size_t>(row));
    if (item.iSubItem == kSenderColumn) {
        char sender[net::kDottedQuadCapacity];
        const size_t length = net::FormatDottedQuad(stored.senderAddress, sender);
        CopyCellText(sender, length, item.pszText, item.cchTextMax);
    } else if (item.iSubItem == kMessageColumn) {
        CopyCellText(stored.message, stored.messageLength, item.pszText, item.cchTextMax);
    }
}

}  // namespace

// The selection stays shown without the focus: a row found from the Find dialog is seen while the dialog keeps it.
bool MessageList::Create(HWND parent, int x, int y, int width, int height) {
    constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
    return view_.Create(parent, IDC_MESSAGE_LIST, kStyle, {x, y, x + width, y + height});
}

void MessageList::SetUpColumns() {
    const int dpi = win::WindowDpi(view_.Handle());
    for (int position = 0; position < kColumnCount; ++position)
        view_.InsertColumn(position, kColumns[position].header, win::ScaleToDpi(kColumns[position].width, dpi));
    view_.SetExtendedStyle(kExtendedStyle);
}

void MessageList::ScaleColumnWidths(int fromDpi, int toDpi) {
    for (int position = 0; position < kColumnCount; ++position)
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
    if (added) view_.SetCount(book_.Shown().Count() + lag_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
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
    view_.SetRedraw(true);
    redrawHeld_ = false;
    LetLeftRowsGo();
    const int rowHeight = view_.RowHeight();
    if (pendingScrolls_ > 0 && rowHeight > 0) {
        // One list height in whole rows, rounded to the nearest as the control
        // rounds a scroll amount in report view.
        const int rowsPerHeight = (view_.OuterHeight() + rowHeight / 2) / rowHeight;
        view_.ScrollBy(pendingScrolls_ * rowsPerHeight * rowHeight);
    }
    pendingScrolls_ = 0;
    // Painted now: during a flood the queue never empties for WM_PAINT's turn.
    view_.RepaintNow();
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
    lag_ = 0;
    placeKnown_ = false;
    pausedAt_ = 0;
}

// The selection named rows of the view before. Emptied first, the control
// forgets it at once, where unselecting every row would visit each of them.
void MessageList::ShowNewRows() {
    lag_ = 0;
    placeKnown_ = false;
    view_.SetCount(0, 0);
    view_.SetCount(ViewedRows(), 0);
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

void MessageList::Redraw() {
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

bool MessageList::HandleNotice(NMHDR& notice, bool colours, LRESULT& result, int& rowDoubleClicked) {
    rowDoubleClicked = -1;
    result = 0;
    switch (notice.code) {
    case NM_CUSTOMDRAW:
        // With the colours off and no rules the list draws every row itself, as it always did.
        if (!colours && book_.Rules().Count() == 0) return false;
        result = DrawRow(reinterpret_cast<NMLVCUSTOMDRAW&>(notice), colours);
        return true;
    case LVN_GETDISPINFOA: {
        auto& request = reinterpret_cast<NMLVDISPINFOA&>(notice);
        SupplyCellText(book_.Shown(), ShownRowOfView(request.item.iItem), request);
        return true;
    }
    case LVN_ODFINDITEMA:
        CatchUp();
        result = FindRowBySender(book_.Shown(), ViewedRows(), reinterpret_cast<const NMLVFINDITEMA&>(notice));
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
