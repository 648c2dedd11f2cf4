// MessageList.cpp: texts on demand, straight from the records, and release on row deletion.
#include "log/MessageList.h"

#include <cstring>

#include "win/Dpi.h"

namespace messagelog {

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

LPARAM ItemParameter(HWND list, int index) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.iSubItem = 0;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
}

// Copies as many bytes as fit, always terminated; nothing is interpreted.
void CopyCellText(const char* text, char* buffer, int capacity) {
    if (capacity <= 0 || !buffer) return;
    const size_t room = static_cast<size_t>(capacity) - 1;
    const size_t length = strnlen(text, room);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

void SupplyCellText(NMLVDISPINFOA& request) {
    LVITEMA& item = request.item;
    if (!(item.mask & LVIF_TEXT)) return;
    const auto* record = reinterpret_cast<const net::SyslogRecord*>(item.lParam);
    if (!record) return;
    if (item.iSubItem == kSenderColumn)
        CopyCellText(record->sender, item.pszText, item.cchTextMax);
    else if (item.iSubItem == kMessageColumn)
        CopyCellText(record->message, item.pszText, item.cchTextMax);
}

void ReleaseRowRecord(const NMLISTVIEW& deleted) {
    net::TakeRecord(ItemParameter(deleted.hdr.hwndFrom, deleted.iItem));
}

}  // namespace

// The selection stays shown without the focus: a row found from the Find dialog is seen while the dialog keeps it.
HWND CreateMessageList(HWND parent, int x, int y, int width, int height) {
    return CreateWindowExA(0, WC_LISTVIEWA, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, x, y,
                           width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMessageListId)),
                           GetModuleHandleW(nullptr), nullptr);
}

void SetUpMessageListColumns(HWND list) {
    const int dpi = win::WindowDpi(list);
    for (int position = 0; position < kColumnCount; ++position) {
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.cx = win::ScaleToDpi(kColumns[position].width, dpi);
        column.pszText = const_cast<char*>(kColumns[position].header);
        column.iSubItem = position;
        SendMessageA(list, LVM_INSERTCOLUMNA, position, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyle, kExtendedStyle);
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

bool AppendRow(HWND list, net::RecordPtr record) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount(list);
    item.iSubItem = 0;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = reinterpret_cast<LPARAM>(record.get());
    const int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) return false;  // refused: the record is released here
    record.release();             // the row owns it now

    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = kMessageColumn;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return true;
}

const net::SyslogRecord* RecordAtRow(HWND list, int index) {
    return reinterpret_cast<const net::SyslogRecord*>(ItemParameter(list, index));
}

void DeleteAllRows(HWND list) {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}

int RowUnderCursor(HWND list) {
    LVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    ScreenToClient(list, &hit.pt);
    const int index = static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEM) ? index : -1;
}

bool HandleMessageListNotice(NMHDR& notice, LRESULT& result, int& rowDoubleClicked) {
    rowDoubleClicked = -1;
    result = 0;
    switch (notice.code) {
    case LVN_GETDISPINFOA:
        SupplyCellText(reinterpret_cast<NMLVDISPINFOA&>(notice));
        return true;
    case LVN_DELETEALLITEMS:
        return true;  // 0: the list sends a delete notice for every row
    case LVN_DELETEITEM:
        ReleaseRowRecord(reinterpret_cast<const NMLISTVIEW&>(notice));
        return true;
    case NM_DBLCLK:
        rowDoubleClicked = RowUnderCursor(notice.hwndFrom);
        return true;
    default:
        return false;
    }
}

}  // namespace messagelog
