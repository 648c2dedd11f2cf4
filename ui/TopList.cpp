// TopList.cpp: the numbers right-aligned, grouped and with the decimal sign as the locale writes them.
#include "ui/TopList.h"

#include <commctrl.h>

#include <algorithm>

#include "win/Dpi.h"
#include "win/LocaleNumber.h"
#include "win/Window.h"

namespace ui {

namespace {

enum TopColumn { kNameOfTop, kRowsOfTop, kShareOfTop };

struct ColumnShape {
    const char* header;  // null: the name's header, given at creation
    int width;           // at 96 DPI
    int format;
};
constexpr ColumnShape kColumns[] = {
    {nullptr, 120, LVCFMT_LEFT}, {"Rows", 64, LVCFMT_RIGHT}, {"Share", 56, LVCFMT_RIGHT}};
constexpr int kLeastNameWidth = 40;  // at 96 DPI

}  // namespace

bool TopList::Create(HWND parent, int titleId, int listId, const char* title, const char* nameHeader) {
    title_ = CreateWindowExA(0, "STATIC", title, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(titleId)), win::ModuleInstance(), nullptr);
    constexpr DWORD kStyle =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
    if (!title_ || !list_.Create(parent, listId, kStyle, {0, 0, 0, 0})) return false;
    const int dpi = win::WindowDpi(parent);
    for (int position = 0; position < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++position) {
        const ColumnShape& shape = kColumns[position];
        list_.InsertColumn(position, shape.header ? shape.header : nameHeader, win::ScaleToDpi(shape.width, dpi),
                           shape.format);
    }
    list_.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    return true;
}

void TopList::SetFont(HFONT font) {
    SendMessageA(title_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(list_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// The name takes what the numbers leave of the list's width, a vertical
// scroll bar's room kept, so the lists side by side need no horizontal one.
void TopList::Place(const RECT& area, int titleHeight) {
    const int width = area.right - area.left;
    MoveWindow(title_, area.left, area.top, width, titleHeight, TRUE);
    const int listTop = area.top + titleHeight;
    MoveWindow(list_.Handle(), area.left, listTop, width, area.bottom > listTop ? area.bottom - listTop : 0, TRUE);
    RECT client;
    GetClientRect(list_.Handle(), &client);
    const int dpi = win::WindowDpi(list_.Handle());
    const int numbers = list_.ColumnWidth(kRowsOfTop) + list_.ColumnWidth(kShareOfTop);
    list_.SetColumnWidth(kNameOfTop, std::max(win::ScaleToDpi(kLeastNameWidth, dpi),
                                         static_cast<int>(client.right) - numbers - GetSystemMetrics(SM_CXVSCROLL)));
}

void TopList::Show(const std::vector<TopEntry>& entries, size_t heldRows) {
    const int wanted = static_cast<int>(entries.size());
    for (int row = list_.Count(); row < wanted; ++row) list_.InsertRow(row, "");
    for (int row = list_.Count(); row-- > wanted;) list_.DeleteRow(row);
    for (int row = 0; row < wanted; ++row) {
        const TopEntry& entry = entries[static_cast<size_t>(row)];
        char rows[win::kGroupedCountCapacity];
        win::FormatGroupedCount(entry.rows, rows);
        wchar_t share[win::kGroupedCountCapacity];
        win::FormatGroupedNumber(heldRows ? static_cast<double>(entry.rows) * kPercent / heldRows : 0, 1, share);
        char shareText[win::kGroupedCountCapacity + 2] = {};
        const int length = WideCharToMultiByte(CP_ACP, 0, share, -1, shareText, win::kGroupedCountCapacity, nullptr,
                                               nullptr);
        if (length > 0) lstrcatA(shareText, " %");
        list_.SetText(row, kNameOfTop, entry.name.c_str());
        list_.SetText(row, kRowsOfTop, rows);
        list_.SetText(row, kShareOfTop, shareText);
    }
}

}  // namespace ui
