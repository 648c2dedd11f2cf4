// TrafficRows.cpp: the traffic's counters against a record's admission, and the Traffic window at a million rows.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/RealisticLine.h"
#include "bench/RowsBench.h"
#include "records/HeldCounts.h"
#include "records/HeldNameCounts.h"
#include "records/RowBook.h"
#include "records/SyslogHeader.h"
#include "records/SyslogPriority.h"
#include "records/TrafficHistory.h"
#include "res/resource.h"

namespace bench {

namespace {

// Counted alone and admitted to a book: half fill it, half arrive while the oldest leave.
constexpr size_t kCountedRecords = 1000000;
constexpr size_t kBookRows = kCountedRecords / 2;
constexpr unsigned long kArrivalRows = 100000;  // timed through the Main window
constexpr int kPaints = 30;
// The counted records arrive as a flood of this many a second, as records a second at a time.
constexpr std::uint64_t kFloodPerSecond = 10000;
// Timed a block at a time: the records of a block are read before, as the receive thread has just written
// each record when the book counts it; a row leaving is as cold as the book leaves it.
constexpr size_t kBlock = 1000;
// The rows' times are spread over this many seconds before now, so that every bar of every span stands.
constexpr std::uint64_t kSpreadSeconds = 86400;

// Row i's time: spread backwards over kSpreadSeconds, the newest rows the latest.
std::uint64_t SpreadTime(std::uint64_t now, unsigned long row, unsigned long rows) {
    const std::uint64_t back = (rows - 1 - row) % kSpreadSeconds;
    return now - back * records::kFileTimePerSecond;
}

// Row i of a million as the Receive thread makes it, with its spread time.
net::RecordPtr SpreadRecord(std::uint64_t now, unsigned long row) {
    net::RecordPtr record = RealisticRecord(row);
    if (record) record->receivedAt = SpreadTime(now, row, kRowsTotal);
    return record;
}

// The realistic lines as records that point into them, made before any
// timing, arriving as a flood from the time given on.
struct Lines {
    std::vector<std::string> texts;
    std::vector<net::SyslogRecord> records;
};

Lines MakeLines(size_t count, std::uint64_t start) {
    Lines lines;
    lines.texts.reserve(count);
    lines.records.reserve(count);
    for (size_t row = 0; row < count; ++row) lines.texts.push_back(RealisticLine(row));
    for (size_t row = 0; row < count; ++row)
        lines.records.push_back({&lines.texts[row][0], RealisticSender(row),
                                 start + row / kFloodPerSecond * records::kFileTimePerSecond});
    return lines;
}

volatile int touchedBytes = 0;

// Reads the first bytes of the block's messages, as the receive thread has just written them.
int Touch(const Lines& lines, size_t first, size_t end) {
    int sum = 0;
    for (size_t row = first; row < end; ++row) sum += lines.records[row].message[0];
    return sum;
}

// Seconds for the records from kBookRows on, once kBookRows are held (the
// book's steady state), each block timed after its messages were read.
template <typename Handle>
double TimedBlocks(const Lines& lines, Handle handle) {
    double seconds = 0;
    int touched = 0;
    for (size_t first = 0; first < lines.records.size(); first += kBlock) {
        const size_t end = std::min(first + kBlock, lines.records.size());
        touched += Touch(lines, first, end);
        const double started = Now();
        for (size_t row = first; row < end; ++row) handle(row);
        if (first >= kBookRows) seconds += Now() - started;
    }
    touchedBytes = touched;  // kept, so the reads are made
    return seconds;
}

// Row i's host and app from its header, as the book reads them from the row it holds, whose length it keeps.
template <typename Count>
void CountNames(const Lines& lines, size_t row, Count count) {
    const std::string& text = lines.texts[row];
    const records::SyslogHeader header = records::ReadSyslogHeader(text.data(), text.size());
    count(std::string_view(text.data() + header.host.offset, header.host.length),
          std::string_view(text.data() + header.app.offset, header.app.length));
}

// The per-second counters alone: a record's priority read and its second counted.
double HistorySeconds(const Lines& lines) {
    records::TrafficHistory history;
    return TimedBlocks(lines, [&](size_t row) {
        const net::SyslogRecord& record = lines.records[row];
        history.Count(record.receivedAt, records::SeverityClassOf(records::LeadingPriority(record.message)));
    });
}

// What the book does for the traffic per record: its priority read, its
// second counted, its row counted for its sender, and its header read for
// its host and app; once kBookRows are held, the oldest row's counts taken
// back too, from what its row keeps and its header read again.
double CountersSeconds(const Lines& lines) {
    records::TrafficHistory history;
    records::HeldCounts counts;
    records::HeldNameCounts names;
    std::vector<char> errorOrWorse(lines.records.size());
    const auto add = [&names](std::string_view host, std::string_view app) { names.Add(host, app); };
    const auto remove = [&names](std::string_view host, std::string_view app) { names.Remove(host, app); };
    return TimedBlocks(lines, [&](size_t row) {
        const net::SyslogRecord& record = lines.records[row];
        const int priority = records::LeadingPriority(record.message);
        history.Count(record.receivedAt, records::SeverityClassOf(priority));
        errorOrWorse[row] = records::IsErrorOrWorse(priority);
        counts.Add(record.senderAddress, errorOrWorse[row] != 0);
        CountNames(lines, row, add);
        if (row < kBookRows) return;
        counts.Remove(lines.records[row - kBookRows].senderAddress, errorOrWorse[row - kBookRows] != 0);
        CountNames(lines, row - kBookRows, remove);
    });
}

// The same records admitted to a book that keeps kBookRows.
double AdmissionSeconds(const Lines& lines) {
    records::RowBook book(kBookRows);
    return TimedBlocks(lines, [&](size_t row) { book.Admit(lines.records[row], true); });
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds a paint of the chart takes, its median of kPaints.
double ChartPaintMs(HWND chart) {
    std::vector<double> paints;
    for (int paint = 0; paint < kPaints; ++paint) {
        const double started = Now();
        RedrawWindow(chart, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        paints.push_back((Now() - started) * 1000);
    }
    return Median(paints);
}

// Milliseconds the window's once-a-second work takes: the counts read and
// what they changed painted, its median of kPaints.
double UpdateMs(HWND traffic) {
    std::vector<double> updates;
    for (int update = 0; update < kPaints; ++update) {
        const double started = Now();
        SendMessageA(traffic, WM_TIMER, ui::TrafficWindow::kTimerId, 0);
        RedrawWindow(traffic, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        updates.push_back((Now() - started) * 1000);
    }
    return Median(updates);
}

// A million realistic rows held, spread over a day, then the Traffic window
// opened and painted for each span.
int MeasureWindow(app::MainWindow& window) {
    window.Settings()->Autoscroll = 0;
    const std::uint64_t now = net::FileTimeNow();
    double started = Now();
    Deliver(window, 0, kArrivalRows, [now](unsigned long row) { return SpreadRecord(now, row); });
    Result("arrival_us_per_row", (Now() - started) * 1e6 / kArrivalRows);
    Deliver(window, kArrivalRows, kRowsTotal, [now](unsigned long row) { return SpreadRecord(now, row); });
    Result("rows_held", static_cast<double>(window.StoredRows().Count()));

    SendMessageA(window.Handle(), WM_COMMAND, ID_VIEW_TRAFFIC, 0);
    PumpQueued();
    const HWND traffic = window.Traffic().Handle();
    if (!traffic) return 1;
    const HWND chart = window.Traffic().Chart().Handle();
    const HWND span = window.Traffic().SpanChoice();
    const char* const names[] = {"ten_minutes", "hour", "day"};
    for (int choice = 0; choice < 3; ++choice) {
        SendMessageA(span, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
        SendMessageA(traffic, WM_COMMAND, MAKEWPARAM(IDC_TRAFFIC_SPAN, CBN_SELCHANGE), reinterpret_cast<LPARAM>(span));
        Result((std::string("traffic_paint_ms_") + names[choice]).c_str(), ChartPaintMs(chart));
        Result((std::string("traffic_update_ms_") + names[choice]).c_str(), UpdateMs(traffic));
    }
    RECT client;
    GetClientRect(chart, &client);
    Result("traffic_chart_width", client.right);
    Result("traffic_chart_height", client.bottom);
    return 0;
}

}  // namespace

int RunTrafficRows() {
    {
        const std::uint64_t start = net::FileTimeNow() - kCountedRecords / kFloodPerSecond * records::kFileTimePerSecond;
        const Lines lines = MakeLines(kCountedRecords, start);
        const double perSecond = HistorySeconds(lines);
        const double counted = CountersSeconds(lines);
        const double admitted = AdmissionSeconds(lines);
        const double records = static_cast<double>(kCountedRecords - kBookRows);
        Result("per_second_counters_ns_per_record", perSecond * 1e9 / records);
        Result("counters_ns_per_record", counted * 1e9 / records);
        Result("book_admit_ns_per_record", admitted * 1e9 / records);
    }
    return WithMainWindow([](app::MainWindow& window, ScratchFolder&) { return MeasureWindow(window); });
}

}  // namespace bench
