// MessageList.cpp: texts on demand, straight from the record store.
#include "list/MessageList.h"

#include <cstring>
#include <utility>

#include "diag/DiagnosticReporter.h"
#include "list/RowSelection.h"
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

// The row under the cursor's current position, or -1.
int RowUnderCursor(HWND list) {
    POINT cursor;
    GetCursorPos(&cursor);
    return RowAt(list, cursor);
}

}  // namespace

// The selection stays shown without the focus: a row found from the Find dialog is seen while the dialog keeps it.
bool MessageList::Create(HWND parent, int x, int y, int width, int height) {
    list_ = CreateWindowExA(0, WC_LISTVIEWA, nullptr,
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, x, y, width,
                            height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MESSAGE_LIST)),
                            GetModuleHandleW(nullptr), nullptr);
    return list_ != nullptr;
}

void MessageList::SetUpColumns() {
    const int dpi = win::WindowDpi(list_);
    for (int position = 0; position < kColumnCount; ++position) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.cx = win::ScaleToDpi(kColumns[position].width, dpi);
        column.pszText = const_cast<char*>(kColumns[position].header);
        column.iSubItem = position;
        SendMessageA(list_, LVM_INSERTCOLUMNA, position, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyle, kExtendedStyle);
}

MessageList::Appended MessageList::Append(net::RecordPtr record) {
    if (!store_.Append(*record)) {
        if (!toldStoreFull_) diag::Report(E_OUTOFMEMORY, L"Cannot keep more rows: out of memory\n");
        toldStoreFull_ = true;
        return Appended::Lost;
    }
    if (!shown_.Admit()) return Appended::Held;
    // Only a new row in view is painted; the view stays where it is.
    SendMessageA(list_, LVM_SETITEMCOUNT, shown_.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    return Appended::Shown;
}

void MessageList::Clear() {
    // The control first, so that it asks for no row that is gone.
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    store_.Clear();
    shown_.ForgetRows();
    toldStoreFull_ = false;
}

void MessageList::ApplyFilter(records::RowFilter filter) {
    ShowChosenRows(shown_.Apply(std::move(filter)));
}

void MessageList::SetFilterOn(bool on) {
    ShowChosenRows(shown_.SetOn(on));
}

// The selection named rows of the view before. Emptied first, the control
// forgets it at once, where unselecting every row would visit each of them.
void MessageList::ShowChosenRows(bool chosen) {
    if (!chosen) diag::Report(E_OUTOFMEMORY, L"Cannot filter the rows: out of memory\n");
    SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
    SendMessageA(list_, LVM_SETITEMCOUNT, shown_.Count(), 0);
    InvalidateRect(list_, nullptr, TRUE);
}

bool MessageList::HandleNotice(NMHDR& notice, LRESULT& result, int& rowDoubleClicked) const {
    rowDoubleClicked = -1;
    result = 0;
    switch (notice.code) {
    case LVN_GETDISPINFOA:
        SupplyCellText(shown_, reinterpret_cast<NMLVDISPINFOA&>(notice));
        return true;
    case LVN_ODFINDITEMA:
        result = FindRowBySender(shown_, reinterpret_cast<const NMLVFINDITEMA&>(notice));
        return true;
    case LVN_ODFINDITEMW:
        result = FindRowBySender(shown_, reinterpret_cast<const NMLVFINDITEMW&>(notice));
        return true;
    case NM_DBLCLK:
        rowDoubleClicked = RowUnderCursor(notice.hwndFrom);
        return true;
    default:
        return false;
    }
}

void ScaleColumnWidths(HWND list, int fromDpi, int toDpi) {
    for (int position = 0; position < kColumnCount; ++position) {
        const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, position, 0));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, position, MulDiv(width, toDpi, fromDpi));
    }
}

int RowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

}  // namespace list
