// ListViewBaseline.cpp: the owner-data list-view's own cost of a row, with no record behind it.
#include <windows.h>

#include <commctrl.h>

#include "bench/BenchSupport.h"
#include "bench/RowsBench.h"
#include "list/MessageList.h"
#include "records/RowBook.h"
#include "settings/Settings.h"

namespace bench {

namespace {

const char kParentClass[] = "MonitorBench_listview_parent";
char g_cellText[] = "cell";

// Answers the list's text requests with one fixed text.
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
        if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0) lstrcpynA(item.pszText, g_cellText, item.cchTextMax);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The call a row costs the control in the program: its new count.
void AppendPlainRow(HWND list, int index) {
    SendMessageA(list, LVM_SETITEMCOUNT, index + 1, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
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
    // The program's list, with no row in its book: only the control's part is measured.
    const records::RowBook book(settings::kDefaultKeepRows);
    list::MessageList messageList(book);
    if (!messageList.Create(parent, 0, 0, client.right, client.bottom)) return 1;
    messageList.SetUpColumns();
    const HWND list = messageList.Handle();
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
    Result("listview_rows", win::ListView(list).Count());
    Result("listview_bytes_per_row", (after - before) / kRowsTotal);
    Result("listview_heap_bytes_per_row", (HeapBytesInUse() - heapBefore) / kRowsTotal);
    return 0;
}

}  // namespace bench
