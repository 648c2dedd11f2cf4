// BookRows.cpp: the row book full and kept full: ten million records through a list of the newest million, and ten million rows held.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/RealisticLine.h"
#include "bench/RowsBench.h"
#include "res/resource.h"

namespace bench {

namespace {

constexpr unsigned long kKeptRows = 1000000;
constexpr unsigned long kArriving = 10000000;
constexpr unsigned long kHeldRows = 10000000;
// Admission is timed over a block of rows around these many arrived.
constexpr unsigned long kEarlyBlock = 500000;
constexpr unsigned long kLateBlock = 9000000;

// The median of the block's parts, per record, so a busy moment of the machine weighs little.
double MicrosecondsPerRecord(app::MainWindow& window, unsigned long first) {
    std::vector<double> parts;
    for (unsigned long part = first; part < first + kRowsPerBlock; part += kRowsPerPost) {
        const double started = Now();
        Deliver(window, part, part + kRowsPerPost, NumberedRecord);
        parts.push_back((Now() - started) * 1e6 / kRowsPerPost);
    }
    std::sort(parts.begin(), parts.end());
    return parts[parts.size() / 2];
}

// Ten million numbered records through the Main window keeping the newest
// million: the private bytes once full and their highest after, and the cost
// of a record early and late.
int MeasureKeptFull(app::MainWindow& window) {
    Deliver(window, 0, kEarlyBlock, NumberedRecord);
    Result("kept_us_per_record_at_500k", MicrosecondsPerRecord(window, kEarlyBlock));
    Deliver(window, kEarlyBlock + kRowsPerBlock, kKeptRows, NumberedRecord);
    PumpQueued();
    const double full = PrivateBytes();
    Result("kept_private_bytes_at_1m", full);
    double highest = full;
    for (unsigned long first = kKeptRows; first < kLateBlock; first += kRowsPerBlock) {
        Deliver(window, first, first + kRowsPerBlock, NumberedRecord);
        highest = std::max(highest, PrivateBytes());
    }
    Result("kept_us_per_record_at_9m", MicrosecondsPerRecord(window, kLateBlock));
    Deliver(window, kLateBlock + kRowsPerBlock, kArriving, NumberedRecord);
    PumpQueued();
    highest = std::max(highest, PrivateBytes());
    Result("kept_private_bytes_highest_after_1m", highest);
    Result("kept_private_bytes_to_full", highest / full);
    Result("kept_rows", static_cast<double>(window.StoredRows().Count()));
    return 0;
}

// Ten million realistic rows held: their bytes each, a 1 % text filter
// applied and turned off until the list shows it, Find matching nothing, Clear.
int MeasureTenMillionHeld(app::MainWindow& window) {
    const double before = PrivateBytes();
    int& autoscroll = window.Settings()->Autoscroll;
    autoscroll = 0;
    Deliver(window, 0, kHeldRows, RealisticRecord);
    autoscroll = 1;
    PumpQueued();
    Result("held_rows", static_cast<double>(window.StoredRows().Count()));
    Result("held_bytes_per_row", (PrivateBytes() - before) / kHeldRows);

    records::RowFilter rare;
    rare.showText = kRareWord;
    double started = Now();
    window.ApplyFilter(rare);
    UpdateWindow(window.MessageList());
    Result("held_text_filter_apply_s", Now() - started);
    Result("held_text_filter_shown_rows", static_cast<double>(window.ShownRows().Count()));
    started = Now();
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_FILTER_ON, 0), 0);
    UpdateWindow(window.MessageList());
    Result("held_text_filter_off_s", Now() - started);
    Result("held_find_nothing_s", FindNothing(window));

    started = Now();
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_CLEAR, 0), 0);
    Result("held_clear_s", Now() - started);
    Result("held_rows_after_clear", static_cast<double>(window.StoredRows().Count()));
    return 0;
}

}  // namespace

int RunBookRows() {
    const int kept = WithMainWindow([](app::MainWindow& window, ScratchFolder&) { return MeasureKeptFull(window); },
                                    kKeptRows);
    if (kept != 0) return kept;
    return WithMainWindow([](app::MainWindow& window, ScratchFolder&) { return MeasureTenMillionHeld(window); },
                          kHeldRows);
}

}  // namespace bench
