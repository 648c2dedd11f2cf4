// ListViewBaseline.cpp: the list-view's own cost of a row, with no record behind it.
#include <windows.h>

#include <commctrl.h>

#include "bench/BenchSupport.h"
#include "bench/RowsBench.h"
#include "log/MessageList.h"

namespace bench {

namespace {

const char kParentClass[] = "MonitorBench_listview_parent";
char g_cellText[] = "cell";

// Answers the list's text requests with one fixed text; rows hold nothing to release.
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
        if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0) lstrcpynA(item.pszText, g_cellText, item.cchTextMax);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The same two calls a record's row costs in the program, with a placeholder parameter.
void AppendPlainRow(HWND list, int index) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = reinterpret_cast<LPARAM>(g_cellText);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int RunListViewBaseline() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    if (!RegisterClassA(&windowClass)) return 1;
    const HWND parent = CreateWindowExA(0, kParentClass, "bench", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
    if (!parent) return 1;
    RECT client;
    GetClientRect(parent, &client);
    const HWND list = messagelog::CreateMessageList(parent, 0, 0, client.right, client.bottom);
    if (!list) return 1;
    messagelog::SetUpMessageListColumns(list);
    // Hidden and not redrawn: only what a row holds is measured here.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);

    const double before = PrivateBytes();
    const double heapBefore = HeapBytesInUse();
    for (int block = 0; block < kRowsTotal / kRowsPerBlock; ++block) {
        const double started = Now();
        for (int i = 0; i < kRowsPerBlock; ++i) AppendPlainRow(list, block * kRowsPerBlock + i);
        Result(("listview_block_s_" + std::to_string(block)).c_str(), Now() - started);
    }
    const double after = PrivateBytes();
    Result("listview_rows", messagelog::RowCount(list));
    Result("listview_bytes_per_row", (after - before) / kRowsTotal);
    Result("listview_heap_bytes_per_row", (HeapBytesInUse() - heapBefore) / kRowsTotal);
    // The window is left to the process's end: deleting a million rows is
    // the Clear figure's business, and under Wine it takes minutes.
    return 0;
}

}  // namespace bench
