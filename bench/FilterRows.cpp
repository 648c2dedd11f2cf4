// FilterRows.cpp: a million realistic rows through the Main window, filtered and not, in one run.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/MainWindow.h"
#include "app/ProcessMainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/RealisticLine.h"
#include "bench/RowsBench.h"
#include "list/MessageList.h"
#include "records/RowFilter.h"
#include "res/resource.h"

namespace bench {

namespace {

constexpr int kArrivalRows = 100000;  // timed through the window, with and without a filter
constexpr int kWarning = 4;

// Until the list has painted what it now shows.
double Shown(app::MainWindow& window, double started) {
    UpdateWindow(window.MessageList());
    return Now() - started;
}

void MeasureFilter(app::MainWindow& window, const char* name, records::RowFilter filter) {
    const double started = Now();
    window.ApplyFilter(std::move(filter));
    Result((std::string(name) + "_apply_s").c_str(), Shown(window, started));
    const double shown = static_cast<double>(window.ShownRows().Count());
    const double held = static_cast<double>(window.StoredRows().Count());
    Result((std::string(name) + "_shown_rows").c_str(), shown);
    Result((std::string(name) + "_view_bytes").c_str(), static_cast<double>(window.ShownRows().BytesHeld()));
    Result((std::string(name) + "_view_bytes_budget").c_str(), 4 * shown + 2 * held);
    Result((std::string(name) + "_find_nothing_s").c_str(), FindNothing(window));
}

// Arrival of the same number of rows without a filter and with one that passes 1 %.
void MeasureArrival(app::MainWindow& window, unsigned long first) {
    window.ApplyFilter(records::RowFilter());
    double started = Now();
    Deliver(window, first, first + kArrivalRows, RealisticRecord);
    Result("arrival_us_per_row_unfiltered", (Now() - started) * 1e6 / kArrivalRows);
    records::RowFilter rare;
    rare.showText = kRareWord;
    window.ApplyFilter(rare);
    started = Now();
    Deliver(window, first + kArrivalRows, first + 2 * kArrivalRows, RealisticRecord);
    Result("arrival_us_per_row_text_filter", (Now() - started) * 1e6 / kArrivalRows);
    window.ApplyFilter(records::RowFilter());
}

int Measure(app::MainWindow& window) {
    int& autoscroll = window.Settings()->Autoscroll;
    autoscroll = 0;
    Deliver(window, 0, kRowsTotal, RealisticRecord);
    autoscroll = 1;
    Result("rows_held", static_cast<double>(window.StoredRows().Count()));
    Result("unfiltered_find_nothing_s", FindNothing(window));

    records::RowFilter text;
    text.showText = kRareWord;
    MeasureFilter(window, "text", text);
    records::RowFilter severity;
    severity.lowestSeverity = kWarning;
    MeasureFilter(window, "severity", severity);
    records::RowFilter sender;
    sender.senders = {RealisticSender(0)};
    MeasureFilter(window, "sender", sender);
    records::RowFilter host;  // the header of every row with a priority names one of 50 hosts
    host.hosts = {RealisticHost(0)};
    MeasureFilter(window, "host", host);

    const double started = Now();
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_FILTER_ON, 0), 0);
    Result("off_s", Shown(window, started));
    Result("off_shown_rows", static_cast<double>(window.ShownRows().Count()));
    Result("off_view_bytes", static_cast<double>(window.ShownRows().BytesHeld()));

    MeasureArrival(window, kRowsTotal);
    return 0;
}

}  // namespace

int RunFilterRows() {
    return WithMainWindow([](app::MainWindow& window, ScratchFolder&) { return Measure(window); });
}

}  // namespace bench
