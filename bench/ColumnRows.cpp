// ColumnRows.cpp: the headers of a million rows read, and screens of rows painted with every column shown
// against the two columns, in turns.
//
// The rows alone are painted: the header is the system's control, and with
// eleven columns its own repaint costs what it costs whatever the rows do.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/RealisticLine.h"
#include "bench/RowsBench.h"
#include "records/RecordStore.h"
#include "records/SyslogHeader.h"
#include "settings/ColumnLayout.h"

namespace bench {

namespace {

constexpr unsigned long kRows = 20000;  // more than the painted screens hold
constexpr unsigned long kUtf8Every = 4;
// Two columns and every column in turn, each first in every other round; the median round stands for each.
constexpr int kRounds = 6;
constexpr double kMostPaintRatio = 1.5;
constexpr double kMostParseSeconds = 0.5;

// Realistic lines, every fourth with a word sent as UTF-8, so its columns are decoded.
net::RecordPtr MakeRecord(unsigned long row) {
    std::string line = RealisticLine(row);
    if (row % kUtf8Every == 0) line += " Z\xC3\xBCrich \xE2\x82\xAC";
    return RecordOfLine(line, RealisticSender(row));
}

volatile size_t fieldBytes = 0;

// A million realistic rows held, as the book holds them, and every row's
// header read, as the columns, the filter and the counts read it: the time,
// and the memory the reading kept (none: the fields are found in place).
int MeasureParsing() {
    records::RecordStore rows;
    for (unsigned long row = 0; row < static_cast<unsigned long>(kRowsTotal); ++row) {
        const net::RecordPtr record = MakeRecord(row);
        if (!record || !rows.Append(*record)) return 1;
    }
    const double privateBefore = PrivateBytes();
    const double heapBefore = HeapBytesInUse();
    size_t found = 0;
    const double started = Now();
    for (size_t index = 0; index < rows.Count(); ++index) {
        const records::StoredRow row = rows.Row(index);
        const records::SyslogHeader header = records::ReadSyslogHeader(row.message, row.messageLength);
        found += header.host.length + header.app.length + header.message.length;
    }
    const double seconds = Now() - started;
    fieldBytes = found;  // kept, so the reading is made
    const double kept = (PrivateBytes() - privateBefore) / static_cast<double>(rows.Count());
    Result("header_parse_rows", static_cast<double>(rows.Count()));
    Result("header_parse_s", seconds);
    Result("header_parse_ns_per_row", seconds * 1e9 / static_cast<double>(rows.Count()));
    Result("header_kept_bytes_per_row", kept);
    Result("header_kept_heap_bytes_per_row", (HeapBytesInUse() - heapBefore) / static_cast<double>(rows.Count()));
    std::printf("the headers of %zu rows read: %.3f s (target < %.1f s): %s\n", rows.Count(), seconds,
                kMostParseSeconds, seconds < kMostParseSeconds ? "PASS" : "MISS");
    return 0;
}

// The columns, in their usual proportions, widened or narrowed to fill the
// list's width, so both layouts paint the same area.
settings::ColumnLayout Filling(const settings::ColumnLayout& layout, int width) {
    int usual = 0;
    for (size_t position = 0; position < layout.Count(); ++position) usual += layout[position].width;
    std::vector<settings::ShownColumn> columns;
    for (size_t position = 0; position < layout.Count(); ++position)
        columns.push_back({layout[position].column, MulDiv(layout[position].width, width, usual)});
    settings::ColumnLayout filling;
    filling.Set(columns.data(), columns.size());
    return filling;
}

int Measure(app::MainWindow& window) {
    window.Settings()->Autoscroll = 0;
    ShowWindow(window.Handle(), SW_MAXIMIZE);
    Deliver(window, 0, kRows, MakeRecord);
    const HWND list = window.MessageList();
    RECT client;
    GetClientRect(list, &client);
    settings::ColumnLayout every;
    for (size_t index = 0; index < settings::kListColumnCount; ++index)
        every.Show(static_cast<settings::ListColumn>(index), true);
    const settings::ColumnLayout layouts[] = {Filling(settings::ColumnLayout(), client.right),
                                              Filling(every, client.right)};
    Result("columns_rows_per_screen", RowsPerScreen(list));
    Result("columns_shown", static_cast<double>(every.Count()));

    std::vector<double> two, all;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool everyColumn : {round % 2 == 0, round % 2 != 0}) {
            window.Messages().ShowColumns(layouts[everyColumn ? 1 : 0]);
            (everyColumn ? all : two).push_back(PaintScreens(list, Painted::Rows));
        }
    }
    const double plain = Median(two), wide = Median(all);
    Result("columns_paint_ms_per_screen_two", plain * 1000);
    Result("columns_paint_ms_per_screen_every", wide * 1000);
    Result("columns_paint_every_to_two", wide / plain);
    std::printf("a screen of rows painted with every column: %.2f ms, %.2fx the two columns' %.2f ms "
                "(target at most %.1fx): %s\n",
                wide * 1000, wide / plain, plain * 1000, kMostPaintRatio, wide / plain <= kMostPaintRatio ? "PASS" : "MISS");
    return 0;
}

}  // namespace

int RunColumnRows() {
    if (MeasureParsing() != 0) return 1;
    return WithMainWindow([](app::MainWindow& window, ScratchFolder&) { return Measure(window); });
}

}  // namespace bench
