// WatchRows.cpp: twenty watch rules in force against none: rows arriving, and a screen of rows painted.
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/RowsBench.h"
#include "records/WatchRules.h"

namespace bench {

namespace {

constexpr int kArrivalRows = 100000;  // timed through the window, without and with the rules
constexpr int kScreens = 50;  // painted in turn from the top, each a list height further down
constexpr int kPaintsPerScreen = 2;
// Without and with the rules in turn, each first in every other round, so a
// drift of the machine's load weighs on both; the median round stands for each.
constexpr int kRounds = 6;

// A rule as its fields are written in the INI file: the same twenty rules as
// bench/watch_rules.py writes for the monitor. The last one matches the
// numbered lines whose sequence number ends in 00, one in a hundred; the
// others never match them, each failing on another condition.
struct RuleFields {
    const char* name;
    const char* show;
    const char* hide;
    bool matchCase;
    int lowestSeverity;
    const char* senders;  // dotted quads joined by ','
    bool hideSenders;
    std::uint32_t text;
    std::uint32_t background;
    bool mark, flash, notify, beep;
};

constexpr std::uint32_t kList = records::kListColour;
constexpr int kAny = records::kAnySeverity;

const RuleFields kRules[] = {
    {"LINK-DOWN", "link down", "", false, kAny, "", false,
     RGB(255, 255, 255), RGB(139, 0, 0), true, true, true, false},
    {"AUTH-FAIL", "authentication failure", "", false, kAny, "", false,
     kList, RGB(255, 215, 0), true, false, true, false},
    {"SEGFAULT", "segfault", "", true, kAny, "", false,
     RGB(128, 0, 128), kList, false, false, true, true},
    {"OOM", "Out of memory", "", true, kAny, "", false,
     RGB(255, 0, 0), kList, false, true, false, false},
    {"DISK-FULL", "No space left on device", "", false, kAny, "", false,
     kList, RGB(255, 228, 181), true, false, false, false},
    {"PANIC", "Kernel panic", "", false, 0, "", false,
     RGB(255, 255, 255), RGB(0, 0, 0), true, true, true, true},
    {"BENCH-CRITICAL", "bench", "", false, 2, "", false,
     kList, RGB(255, 192, 203), true, false, false, false},
    {"LOAD-ERRORS", "load", "", false, 3, "", false,
     RGB(200, 0, 0), kList, false, false, false, false},
    {"CORE-ROUTERS", "", "", false, kAny, "10.0.0.1,10.0.0.2", false,
     RGB(0, 0, 139), kList, false, false, false, false},
    {"FIREWALL-DENY", "deny", "", false, kAny, "192.168.1.1,192.168.1.254", false,
     kList, RGB(224, 255, 255), true, false, true, false},
    {"NOT-FROM-HERE", "seq=", "", false, kAny, "127.0.0.1", true,
     RGB(0, 128, 0), kList, false, false, false, false},
    {"SEQ-UNPADDED", "seq=", "x", false, kAny, "", false,
     kList, RGB(240, 240, 240), false, false, false, false},
    {"BENCH-ELSEWHERE", "bench", "load:", false, kAny, "", false,
     RGB(0, 0, 255), kList, true, false, false, false},
    {"BENCH-LOUD", "BENCH LOAD", "", true, kAny, "", false,
     kList, RGB(255, 255, 224), false, true, false, false},
    {"SSH-REFUSED", "sshd[", "Accepted", false, kAny, "", false,
     RGB(139, 69, 19), kList, false, false, true, false},
    {"RAID", "degraded", "", false, kAny, "", false,
     RGB(255, 255, 255), RGB(255, 140, 0), true, true, false, false},
    {"TEMPERATURE", "temperature above threshold", "", false, 4, "", false,
     kList, RGB(255, 160, 122), false, false, true, false},
    {"POWER", "power supply", "", false, kAny, "10.1.1.1", false,
     RGB(178, 34, 34), kList, true, false, false, true},
    {"CONFIG", "%SYS-5-CONFIG_I", "", true, kAny, "", false,
     kList, RGB(230, 230, 250), false, false, false, false},
    {"EVERY-HUNDREDTH", "00 x", "", false, kAny, "", false,
     RGB(255, 255, 255), RGB(139, 0, 0), true, true, true, false},
};

std::vector<std::uint32_t> Addresses(const char* dottedQuads) {
    std::vector<std::uint32_t> addresses;
    std::string rest = dottedQuads;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        addresses.push_back(inet_addr(rest.substr(0, comma).c_str()));
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
    }
    return addresses;
}

std::vector<records::CountedRule> TwentyRules() {
    std::vector<records::CountedRule> rules;
    for (const RuleFields& fields : kRules) {
        records::CountedRule counted;
        records::WatchRule& rule = counted.rule;
        rule.name = fields.name;
        rule.conditions.showText = fields.show;
        rule.conditions.hideText = fields.hide;
        rule.conditions.matchCase = fields.matchCase;
        rule.conditions.lowestSeverity = fields.lowestSeverity;
        rule.conditions.senders = Addresses(fields.senders);
        rule.conditions.hideSenders = fields.hideSenders;
        rule.textColour = fields.text;
        rule.backgroundColour = fields.background;
        rule.mark = fields.mark;
        rule.flash = fields.flash;
        rule.notify = fields.notify;
        rule.beep = fields.beep;
        rules.push_back(std::move(counted));
    }
    return rules;
}

// Arrival of the same number of numbered rows without rules and with the twenty.
void MeasureArrival(app::MainWindow& window) {
    window.SetWatchRules({});
    double started = Now();
    Deliver(window, 0, kArrivalRows, NumberedRecord);
    Result("arrival_us_per_row_no_rules", (Now() - started) * 1e6 / kArrivalRows);
    window.SetWatchRules(TwentyRules());
    started = Now();
    Deliver(window, kArrivalRows, 2 * kArrivalRows, NumberedRecord);
    Result("arrival_us_per_row_rules", (Now() - started) * 1e6 / kArrivalRows);
}

int RowsPerScreen(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
}

// Every screen from the top down painted whole kPaintsPerScreen times, the
// scrolling to it untimed; answers the seconds one paint of a screen took.
double PaintScreens(HWND list) {
    const int perScreen = RowsPerScreen(list);
    double painting = 0;
    SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    for (int screen = 0; screen < kScreens; ++screen) {
        // Its last row visible from the screen above brings the screen's first row to the top.
        SendMessageA(list, LVM_ENSUREVISIBLE, (screen + 1) * perScreen - 1, FALSE);
        UpdateWindow(list);
        const double started = Now();
        for (int paint = 0; paint < kPaintsPerScreen; ++paint)
            RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        painting += Now() - started;
    }
    return painting / (kScreens * kPaintsPerScreen);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void MeasurePainting(app::MainWindow& window) {
    const HWND list = window.MessageList();
    const int painted = kScreens * RowsPerScreen(list);
    int marked = 0;
    for (int row = 0; row < painted; ++row) marked += window.Messages().IsMarked(row);
    Result("paint_rows_per_screen", RowsPerScreen(list));
    Result("paint_marked_share", static_cast<double>(marked) / painted);

    std::vector<double> without, with;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool rules : {round % 2 == 0, round % 2 != 0}) {
            window.SetWatchRules(rules ? TwentyRules() : std::vector<records::CountedRule>());
            (rules ? with : without).push_back(PaintScreens(list));
        }
    }
    const double plain = Median(without), ruled = Median(with);
    Result("paint_ms_per_screen_no_rules", plain * 1000);
    Result("paint_ms_per_screen_rules", ruled * 1000);
    Result("paint_rules_to_no_rules", ruled / plain);
}

}  // namespace

int RunWatchRows() {
    return WithMainWindow([](app::MainWindow& window, ScratchFolder&) {
        MeasureArrival(window);
        MeasurePainting(window);
        return 0;
    });
}

}  // namespace bench
