// BenchSupport.cpp: clock, memory, pumping and output for the in-process row benchmarks.
#include <winsock2.h>

#include "bench/BenchSupport.h"

#include <psapi.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/ProcessMainWindow.h"
#include "bench/BenchLine.h"
#include "bench/RealisticLine.h"
#include "records/RowSearch.h"

namespace bench {

double Now() {
    static const double ticksPerSecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    return static_cast<double>(ticks.QuadPart) / ticksPerSecond;
}

double PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        return 0;
    // Wine fills only PagefileUsage; on Windows the two are the same figure.
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(privateBytes);
}

namespace {

constexpr int kPaintsPerScreen = 2;

}  // namespace

int RowsPerScreen(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
}

// The rows lie below the header, which the list does not clip its painting from.
double PaintScreens(HWND list, Painted painted) {
    const int perScreen = RowsPerScreen(list);
    RECT rows;
    GetClientRect(list, &rows);
    RECT header;
    GetWindowRect(ListView_GetHeader(list), &header);
    rows.top = header.bottom - header.top;
    const bool whole = painted == Painted::WholeList;
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | (whole ? 0 : RDW_NOCHILDREN);
    double painting = 0;
    SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    for (int screen = 0; screen < kPaintedScreens; ++screen) {
        // Its last row visible from the screen above brings the screen's first row to the top.
        SendMessageA(list, LVM_ENSUREVISIBLE, (screen + 1) * perScreen - 1, FALSE);
        UpdateWindow(list);
        const double started = Now();
        for (int paint = 0; paint < kPaintsPerScreen; ++paint)
            RedrawWindow(list, whole ? nullptr : &rows, nullptr, flags);
        painting += Now() - started;
    }
    return painting / (kPaintedScreens * kPaintsPerScreen);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

namespace {

// Walks every heap of the process and sums what measure says of each busy block.
template <typename Measure>
double SumOverBusyBlocks(Measure measure) {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr));
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    double busy = 0;
    for (const HANDLE heap : heaps) {
        if (!HeapLock(heap)) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += measure(entry);
        HeapUnlock(heap);
    }
    return busy;
}

}  // namespace

double HeapBytesInUse() {
    return SumOverBusyBlocks([](const PROCESS_HEAP_ENTRY& entry) { return entry.cbData + entry.cbOverhead; });
}

double HeapBlocksInUse() {
    return SumOverBusyBlocks([](const PROCESS_HEAP_ENTRY&) { return 1; });
}

void PumpQueued() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

net::RecordPtr RecordOfLine(const std::string& line, std::uint32_t sender) {
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = sender;
    return net::MakeSyslogRecord(line.data(), line.size(), from);
}

net::RecordPtr NumberedRecord(unsigned long sequence) {
    return RecordOfLine(BenchLine(sequence), htonl(INADDR_LOOPBACK));
}

net::RecordPtr RealisticRecord(unsigned long row) {
    return RecordOfLine(RealisticLine(row), RealisticSender(row));
}

// The book counts every record it has seen, held or not: rows leaving a full book do not stop the count.
void Deliver(app::MainWindow& window, unsigned long first, unsigned long last,
             const std::function<net::RecordPtr(unsigned long row)>& record) {
    const std::uint64_t admittedBefore = window.Book().AdmittedCount();
    for (unsigned long part = first; part < last; part += kRowsPerPost) {
        const unsigned long end = part + kRowsPerPost < last ? part + kRowsPerPost : last;
        for (unsigned long row = part; row < end; ++row) window.Deliveries().Push(record(row));
        const auto handled = [&] { return window.Book().AdmittedCount() - admittedBefore >= end - first; };
        while (!handled()) {
            PumpQueued();
            if (!handled()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
    }
    PumpQueued();
}

double FindNothing(app::MainWindow& window) {
    const records::ShownRows& rows = window.ShownRows();
    const int count = static_cast<int>(rows.Count());
    const records::TextMatcher matcher("held by no row", false);
    const double started = Now();
    const int found = records::FindRow(matcher, count, 0, true, [&rows](int row, bool withSender, records::RowTexts& out) {
        return records::ReadRowTexts(rows, row, withSender, out);
    });
    const double took = Now() - started;
    return found < 0 ? took : -1;
}

void Result(const char* name, double value) {
    std::printf("%s=%.6f\n", name, value);
    std::fflush(stdout);
}

ScratchFolder::ScratchFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"monitor-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
}

void ScratchFolder::Remove() {
    if (path_.empty()) return;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW(File(found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
    path_.clear();
}

namespace {

const char kIniText[] = "[Settings]\r\nAutoscroll=1\r\nToDisplay=1\r\nToFile=0\r\nFileName=\r\n";
const char kKeepRowsKey[] = "KeepRows=";
// The system picks a free port that nobody sends to, so the window's own receive thread stays idle.
constexpr unsigned short kAnyFreePort = 0;

bool WriteText(const std::wstring& path, const char* text) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    const bool written = std::fputs(text, file) >= 0;
    return std::fclose(file) == 0 && written;
}

}  // namespace

int WithMainWindow(const std::function<int(app::MainWindow&, ScratchFolder&)>& measure, size_t keepRows) {
    int status = 1;
    ScratchFolder folder;
    const std::wstring iniPath = folder.File(L"monitor.INI");
    const std::string iniText = kIniText + std::string(kKeepRowsKey) + std::to_string(keepRows) + "\r\n";
    if (!WriteText(iniPath, iniText.c_str())) return status;
    app::MainWindow window(kAnyFreePort, iniPath.c_str());
    app::SetProcessMainWindow(&window);
    if (window.Create()) {
        ShowWindow(window.Handle(), SW_SHOWNORMAL);
        UpdateWindow(window.Handle());
        PumpQueued();
        status = measure(window, folder);
        DestroyWindow(window.Handle());
        PumpQueued();
    }
    app::SetProcessMainWindow(nullptr);
    return status;
}

}  // namespace bench
