// MessageList.cpp: the control, its rows as they arrive, scrolling, and its notices; texts on demand from the store.
#include "list/MessageList.h"

#include <cstring>
#include <utility>

#include "diag/DiagnosticReporter.h"
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

void SupplyCellText(const records::ShownRows& rows, NMLVDISPINFOA& request) {
    LVITEMA& item = request.item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows.Count()) return;
    const records::StoredRow row = rows.Row(static_cast<size_t>(item.iItem));
    if (item.iSubItem == kSenderColumn) {
        char sender[net::kDottedQuadCapacity];
        const size_t length = net::FormatDottedQuad(row.senderAddress, sender);
        CopyCellText(sender, length, item.pszText, item.cchTextMax);
    } else if (item.iSubItem == kMessageColumn) {
        CopyCellText(row.message, row.messageLength, item.pszText, item.cchTextMax);
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

bool MessageList::Append(net::RecordPtr record, bool autoscroll, bool moreComing, int firstRule) {
    if (moreComing && !redrawHeld_) {
        view_.SetRedraw(false);
        redrawHeld_ = true;
    }
    const bool kept = store_.Append(*record);
    if (kept) {
        // Without room for its rule the row is still shown, uncoloured.
        matches_.Admit(store_.Count() - 1, firstRule);
        if (!shown_.Admit()) return true;
        // Only a new row in view is painted; the view stays where it is.
        view_.SetCount(shown_.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    } else {
        if (!toldStoreFull_) diag::Report(E_OUTOFMEMORY, L"Cannot keep more rows: out of memory\n");
        toldStoreFull_ = true;
    }
    if (!autoscroll) return kept;
    if (redrawHeld_)
        ++pendingScrolls_;  // measured once, when the burst is shown
    else
        view_.ScrollBy(view_.OuterHeight());  // one list height; the control stops at the last row
    return kept;
}

void MessageList::ShowHeldBack() {
    if (!redrawHeld_) return;
    view_.SetRedraw(true);
    const int rowHeight = view_.RowHeight();
    if (pendingScrolls_ > 0 && rowHeight > 0) {
        // One list height in whole rows, rounded to the nearest as the control
        // rounds a scroll amount in report view.
        const int rowsPerHeight = (view_.OuterHeight() + rowHeight / 2) / rowHeight;
        view_.ScrollBy(pendingScrolls_ * rowsPerHeight * rowHeight);
    }
    pendingScrolls_ = 0;
    redrawHeld_ = false;
    // Painted now: during a flood the queue never empties for WM_PAINT's turn.
    view_.RepaintNow();
}

void MessageList::Clear() {
    // The control first, so that it asks for no row that is gone.
    view_.DeleteAll();
    store_.Clear();
    shown_.ForgetRows();
    matches_.Forget();
    toldStoreFull_ = false;
}

void MessageList::ApplyFilter(records::RowFilter filter) {
    ShowChosenRows(shown_.Apply(std::move(filter)));
}

void MessageList::SetFilterOn(bool on) {
    ShowChosenRows(shown_.SetOn(on));
}

records::WatchMatch MessageList::Watch(const net::SyslogRecord& record) {
    return rules_.Watch(records::RowOfRecord(record.message, record.senderAddress, record.receivedAt));
}

bool MessageList::SetRules(std::vector<records::CountedRule> rules) {
    if (!rules_.Set(std::move(rules))) return false;
    if (!matches_.Rematch(store_, rules_))
        diag::Report(E_OUTOFMEMORY, L"Cannot colour the rows by the watch rules: out of memory\n");
    InvalidateRect(view_.Handle(), nullptr, TRUE);
    return true;
}

// The selection named rows of the view before. Emptied first, the control
// forgets it at once, where unselecting every row would visit each of them.
void MessageList::ShowChosenRows(bool chosen) {
    if (!chosen) diag::Report(E_OUTOFMEMORY, L"Cannot filter the rows: out of memory\n");
    view_.SetCount(0, 0);
    view_.SetCount(shown_.Count(), 0);
    InvalidateRect(view_.Handle(), nullptr, TRUE);
}

bool MessageList::HandleNotice(NMHDR& notice, bool colours, LRESULT& result, int& rowDoubleClicked) const {
    rowDoubleClicked = -1;
    result = 0;
    switch (notice.code) {
    case NM_CUSTOMDRAW:
        // With the colours off and no rules the list draws every row itself, as it always did.
        if (!colours && rules_.Count() == 0) return false;
        result = DrawRow(reinterpret_cast<NMLVCUSTOMDRAW&>(notice), colours);
        return true;
    case LVN_GETDISPINFOA:
        SupplyCellText(shown_, reinterpret_cast<NMLVDISPINFOA&>(notice));
        return true;
    case LVN_ODFINDITEMA:
        result = FindRowBySender(shown_, reinterpret_cast<const NMLVFINDITEMA&>(notice));
        return true;
    case LVN_ODFINDITEMW:
        result = FindRowBySender(shown_, reinterpret_cast<const NMLVFINDITEMW&>(notice));
        return true;
    case NM_DBLCLK: {
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
