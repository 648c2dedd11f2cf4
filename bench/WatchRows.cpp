// WatchRows.cpp: the watch rules in force against none: rows arriving, and a screen of rows painted.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/RowsBench.h"
#include "records/WatchRules.h"
#include "records/WatchRulesFile.h"

namespace bench {

namespace {

constexpr int kArrivalRows = 100000;  // timed through the window, without and with the rules
// Without and with the rules in turn, each first in every other round, so a
// drift of the machine's load weighs on both; the median round stands for each.
constexpr int kRounds = 6;

// Arrival of the same number of numbered rows without rules and with them.
void MeasureArrival(app::MainWindow& window, const std::vector<records::CountedRule>& rules) {
    window.SetWatchRules({});
    double started = Now();
    Deliver(window, 0, kArrivalRows, NumberedRecord);
    Result("arrival_us_per_row_no_rules", (Now() - started) * 1e6 / kArrivalRows);
    window.SetWatchRules(rules);
    started = Now();
    Deliver(window, kArrivalRows, 2 * kArrivalRows, NumberedRecord);
    Result("arrival_us_per_row_rules", (Now() - started) * 1e6 / kArrivalRows);
}

void MeasurePainting(app::MainWindow& window, const std::vector<records::CountedRule>& rules) {
    const HWND list = window.MessageList();
    const int painted = kPaintedScreens * RowsPerScreen(list);
    int marked = 0;
    for (int row = 0; row < painted; ++row) marked += window.Messages().IsMarked(row);
    Result("paint_rows_per_screen", RowsPerScreen(list));
    Result("paint_marked_share", static_cast<double>(marked) / painted);

    std::vector<double> without, with;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool ruled : {round % 2 == 0, round % 2 != 0}) {
            window.SetWatchRules(ruled ? rules : std::vector<records::CountedRule>());
            (ruled ? with : without).push_back(PaintScreens(list, Painted::WholeList));
        }
    }
    const double plain = Median(without), ruled = Median(with);
    Result("paint_ms_per_screen_no_rules", plain * 1000);
    Result("paint_ms_per_screen_rules", ruled * 1000);
    Result("paint_rules_to_no_rules", ruled / plain);
}

}  // namespace

int RunWatchRows(const wchar_t* rulesIniPath) {
    records::WatchRulesFile file;
    const std::vector<records::CountedRule> rules = file.Read(rulesIniPath);
    Result("rules_read", static_cast<double>(rules.size()));
    Result("rules_not_read", static_cast<double>(file.Kept().size()));
    if (rules.empty()) return 1;
    return WithMainWindow([&rules](app::MainWindow& window, ScratchFolder&) {
        MeasureArrival(window, rules);
        MeasurePainting(window, rules);
        return 0;
    });
}

}  // namespace bench
