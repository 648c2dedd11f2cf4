// RowsThroughMainWindow.cpp: one million records through the Main window, as the receive thread hands them over.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/ProcessMainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/ClearWatch.h"
#include "bench/RowsBench.h"
#include "list/MessageList.h"
#include "records/CaptureLine.h"
#include "res/resource.h"

namespace bench {

namespace {

// The rows are shown with auto-scroll, as the program's defaults have them;
// no Capture file, so the list's cost is what grows or not.

constexpr int kRedrawSamples = 20;
constexpr int kRowsCopied = 100000;

// Queues records first to last, as the receive thread does.
void QueueRecords(app::MainWindow& window, int first, int last) {
    for (int sequence = first; sequence < last; ++sequence)
        window.Deliveries().Push(NumberedRecord(static_cast<unsigned long>(sequence)));
}

void PumpUntilRows(HWND list, int rows) {
    while (win::ListView(list).Count() < rows) {
        PumpQueued();
        if (win::ListView(list).Count() < rows) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

long long LinesIn(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return -1;
    long long lines = 0;
    char chunk[1 << 16];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        for (size_t i = 0; i < got; ++i) lines += chunk[i] == '\n';
    std::fclose(file);
    return lines;
}

// One block of records handed over as the receive thread does it, timed as a
// whole and in parts of kRowsPerPost; the median part stands for the block
// when the machine's load comes and goes.
void TimedBlock(app::MainWindow& window, int block) {
    std::vector<double> parts;
    const double started = Now();
    for (int first = block * kRowsPerBlock; first < (block + 1) * kRowsPerBlock; first += kRowsPerPost) {
        const double partStarted = Now();
        QueueRecords(window, first, first + kRowsPerPost);
        PumpUntilRows(window.MessageList(), first + kRowsPerPost);
        parts.push_back(Now() - partStarted);
    }
    PumpQueued();  // the last batch's redraw and scroll belong to the block
    Result(("block_s_" + std::to_string(block)).c_str(), Now() - started);
    std::sort(parts.begin(), parts.end());
    Result(("block_median_part_s_" + std::to_string(block)).c_str(), parts[parts.size() / 2]);
}

// The rows between the timed blocks, handed over as in them but untimed, with
// auto-scroll off (the view goes to the end once): the same rows from the
// same records in a fraction of the time.
void AppendUntimed(app::MainWindow& window, int first, int last) {
    const double started = Now();
    const HWND list = window.MessageList();
    int& autoscroll = window.Settings()->Autoscroll;
    const int autoscrollAsSet = autoscroll;
    autoscroll = 0;
    for (int part = first; part < last; part += kRowsPerPost) {
        QueueRecords(window, part, part + kRowsPerPost);
        PumpUntilRows(list, part + kRowsPerPost);
    }
    autoscroll = autoscrollAsSet;
    SendMessageA(list, LVM_ENSUREVISIBLE, last - 1, FALSE);
    PumpQueued();
    Result("untimed_fill_s", Now() - started);
}

void ResultSpread(const std::string& name, std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    Result((name + "_median_ms").c_str(), seconds[seconds.size() / 2] * 1000);
    Result((name + "_max_ms").c_str(), seconds.back() * 1000);
}

// The UI thread's longest stalls while records arrive: the redraw that ends a
// batch (the calls Record arrival makes then, every 100 ms during a flood),
// and one record that arrives alone, shown with redraw on, then painted.
void TimeRedraws(app::MainWindow& window, int firstSequence) {
    const HWND list = window.MessageList();
    std::vector<double> batch, single;
    for (int i = 0; i < kRedrawSamples; ++i) {
        double started = Now();
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        RECT outer;
        GetWindowRect(list, &outer);
        SendMessageA(list, LVM_SCROLL, 0, outer.bottom - outer.top);
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        batch.push_back(Now() - started);

        const int rows = win::ListView(list).Count();
        started = Now();
        QueueRecords(window, firstSequence + i, firstSequence + i + 1);
        PumpUntilRows(list, rows + 1);
        PumpQueued();
        single.push_back(Now() - started);
    }
    ResultSpread("batch_redraw", batch);
    ResultSpread("single_row", single);
}

// The private bytes once one part of records has passed through and been
// cleared: the heaps and queues then hold what a part in flight needs, which
// no number of rows changes.
double WarmPrivateBytes(app::MainWindow& window) {
    QueueRecords(window, kRowsTotal, kRowsTotal + kRowsPerPost);
    PumpUntilRows(window.MessageList(), kRowsPerPost);
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_CLEAR, 0), 0);
    PumpQueued();
    return PrivateBytes();
}

// What Clear gave back: the private bytes against those before the first row
// and those once warm, and the heaps' bytes in use, which leave out what a
// heap keeps for reuse.
void ResultMemoryAfterClear(double before, double warm, double heapBefore) {
    PumpQueued();
    const double afterClear = PrivateBytes();
    Result("private_bytes_after_clear", afterClear);
    Result("after_clear_to_before", afterClear / before);
    Result("private_bytes_warm", warm);
    Result("after_clear_to_warm", afterClear / warm);
    Result("heap_bytes_after_clear_minus_before", HeapBytesInUse() - heapBefore);
}

// A search for a text no row holds, from the first row to the last, as Find
// runs it; then Copy of the first kRowsCopied rows, selected, to the clipboard.
void TimeFindAndCopy(app::MainWindow& window) {
    const double findSeconds = FindNothing(window);
    Result("find_nothing_s", findSeconds);
    Result("find_nothing_found", findSeconds < 0 ? 0 : -1);  // -1: no row held the text

    const HWND list = window.MessageList();
    LVITEMA selected{};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    for (int row = 0; row < kRowsCopied; ++row) SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selected));
    const double started = Now();
    const bool copied = window.Messages().CopySelected(window.Handle());
    Result("copy_s", Now() - started);
    Result("copy_ok", copied);
    Result("copied_rows", static_cast<double>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)));
    selected.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&selected));
    // The copied text is the clipboard's, in this process's heap: it must not count as memory the rows kept.
    if (OpenClipboard(window.Handle())) {
        EmptyClipboard();
        CloseClipboard();
    }
}

int MeasureRows(app::MainWindow& window, ScratchFolder& folder) {
    const std::wstring savePath = folder.File(L"saved.txt");
    const HWND list = window.MessageList();
    const int lastBlock = kRowsTotal / kRowsPerBlock - 1;
    const double before = PrivateBytes();
    const double heapBefore = HeapBytesInUse();
    const double warm = WarmPrivateBytes(window);
    TimedBlock(window, 0);
    AppendUntimed(window, kRowsPerBlock, lastBlock * kRowsPerBlock);
    TimedBlock(window, lastBlock);
    const double after = PrivateBytes();
    Result("rows", win::ListView(list).Count());
    Result("private_bytes_before", before);
    Result("private_bytes_after", after);
    Result("bytes_per_row", (after - before) / kRowsTotal);
    Result("heap_bytes_per_row", (HeapBytesInUse() - heapBefore) / kRowsTotal);

    // Save without its dialog: the file opened as the command opens it, every row written, closed.
    double started = Now();
    FILE* stream = _wfopen(savePath.c_str(), L"w+t");
    if (!stream) return 1;
    const StatusCode saved = records::WriteAllRows(window.ShownRows(), stream);
    const bool closed = std::fclose(stream) == 0;
    Result("save_s", Now() - started);
    Result("save_ok", saved == S_OK && closed);
    Result("saved_lines", static_cast<double>(LinesIn(savePath)));
    DeleteFileW(savePath.c_str());

    TimeFindAndCopy(window);
    TimeRedraws(window, kRowsTotal);

    started = Now();
    {
        const ClearWatch watch([&folder] { folder.Remove(); });
        SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_CLEAR, 0), 0);
    }
    Result("clear_finished", 1);
    Result("clear_s", Now() - started);
    Result("rows_after_clear", win::ListView(list).Count());
    ResultMemoryAfterClear(before, warm, heapBefore);
    Result("records_alive_after_clear", net::SyslogRecordsAlive());
    return 0;
}

}  // namespace

// Every row the measurement adds is kept: with rows leaving, the count that
// tells a record was shown would stand still.
int RunMainWindowRows() {
    return WithMainWindow(MeasureRows, kRowsTotal + kRedrawSamples);
}

}  // namespace bench
