// TrafficCountsTest.cpp: messages counted per second, per six seconds and per 150 seconds by severity, and the
// rows held per sender, host and app and of errors, as records arrive, rows leave the book and Clear starts afresh.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/HeaderCensus.h"
#include "records/HeldCounts.h"
#include "records/HeldNameCounts.h"
#include "records/RowBook.h"
#include "records/TrafficHistory.h"

namespace {

using records::SeverityClass;
using records::TrafficSpan;

// A second that starts a bin of every span (a multiple of 6 and of 150), as a FILETIME.
constexpr std::uint64_t kStartSecond = 86000000ull * 150;
constexpr std::uint64_t At(std::uint64_t secondsAfterStart) {
    return (kStartSecond + secondsAfterStart) * records::kFileTimePerSecond;
}

// The span's bins ending with now's, as "bins back:counts" for every bin that
// holds something, newest first; counts per class (critical, error, warning,
// other, none) joined by '/'.
std::string Bins(const records::TrafficHistory& history, TrafficSpan span, std::uint64_t now) {
    std::vector<records::TrafficBin> bins;
    history.Bins(span, now, bins);
    EXPECT_EQ(records::ShapeOf(span).bins, bins.size());
    std::string text;
    for (size_t back = 0; back < bins.size(); ++back) {
        const records::TrafficBin& bin = bins[bins.size() - 1 - back];
        if (bin.Total() == 0) continue;
        text += (text.empty() ? "" : " ") + std::to_string(back) + ":";
        for (size_t cls = 0; cls < records::kSeverityClasses; ++cls)
            text += (cls ? "/" : "") + std::to_string(bin.counts[cls]);
    }
    return text;
}

TEST(TrafficCounts, EachMessageIsCountedInItsSecondSixSecondsAndHundredFiftySecondsUntilTheSpanHasPassed) {
    records::TrafficHistory history;
    const struct {
        std::uint64_t second;
        SeverityClass severity;
    } arrivals[] = {
        {0, SeverityClass::Critical}, {0, SeverityClass::Critical}, {1, SeverityClass::Error},
        {5, SeverityClass::Warning},  {6, SeverityClass::NoPriority}, {149, SeverityClass::Other},
        {150, SeverityClass::Other},
    };
    for (const auto& arrival : arrivals) history.Count(At(arrival.second), arrival.severity);

    const struct {
        const char* what;
        TrafficSpan span;
        std::uint64_t now;
        std::string bins;
    } looks[] = {
        {"seconds, now at the seventh", TrafficSpan::TenMinutes, At(6), "0:0/0/0/0/1 1:0/0/1/0/0 5:0/1/0/0/0 6:2/0/0/0/0"},
        {"six seconds, a bin each", TrafficSpan::Hour, At(6), "0:0/0/0/0/1 1:2/1/1/0/0"},
        {"150 seconds, one bin", TrafficSpan::Day, At(6), "0:2/1/1/1/1"},
        {"seconds, a little later", TrafficSpan::TenMinutes, At(150),
         "0:0/0/0/1/0 1:0/0/0/1/0 144:0/0/0/0/1 145:0/0/1/0/0 149:0/1/0/0/0 150:2/0/0/0/0"},
        {"the 150th second starts a day bin", TrafficSpan::Day, At(150), "0:0/0/0/1/0 1:2/1/1/1/1"},
        {"the first second as the last of ten minutes", TrafficSpan::TenMinutes, At(599),
         "449:0/0/0/1/0 450:0/0/0/1/0 593:0/0/0/0/1 594:0/0/1/0/0 598:0/1/0/0/0 599:2/0/0/0/0"},
        {"ten minutes on, the first second is gone", TrafficSpan::TenMinutes, At(600),
         "450:0/0/0/1/0 451:0/0/0/1/0 594:0/0/0/0/1 595:0/0/1/0/0 599:0/1/0/0/0"},
        {"an hour holds them", TrafficSpan::Hour, At(3599), "574:0/0/0/1/0 575:0/0/0/1/0 598:0/0/0/0/1 599:2/1/1/0/0"},
        {"an hour on, the first six seconds are gone", TrafficSpan::Hour, At(3600),
         "575:0/0/0/1/0 576:0/0/0/1/0 599:0/0/0/0/1"},
        {"a day holds them", TrafficSpan::Day, At(86399), "574:0/0/0/1/0 575:2/1/1/1/1"},
        {"a day on, the first bin is gone", TrafficSpan::Day, At(86400), "575:0/0/0/1/0"},
        {"nothing after a day", TrafficSpan::Day, At(86550), ""},
        {"before the first message", TrafficSpan::TenMinutes, At(0) - records::kFileTimePerSecond, ""},
    };
    for (const auto& look : looks) {
        SCOPED_TRACE(look.what);
        EXPECT_EQ(look.bins, Bins(history, look.span, look.now));
    }

    // The last five seconds up to now, now's own included.
    EXPECT_EQ(3u, history.Recent(At(4), 5));
    EXPECT_EQ(2u, history.Recent(At(5), 5));
    EXPECT_EQ(2u, history.Recent(At(6), 5));
    EXPECT_EQ(0u, history.Recent(At(148), 5));
    EXPECT_EQ(2u, history.Recent(At(150), 5));

    // Set back by more than a span, the clock starts that span afresh; a
    // longer span keeps what lies within it of the new time.
    history.Count(At(86400 * 3), SeverityClass::Error);
    history.Count(At(86400 * 3 - 700), SeverityClass::Warning);
    EXPECT_EQ("0:0/0/1/0/0", Bins(history, TrafficSpan::TenMinutes, At(86400 * 3 - 700)));
    EXPECT_EQ("0:0/1/0/0/0 5:0/0/1/0/0", Bins(history, TrafficSpan::Day, At(86400 * 3)));
    history.Count(At(86400), SeverityClass::Critical);
    EXPECT_EQ("0:1/0/0/0/0", Bins(history, TrafficSpan::Day, At(86400)))
        << "the bin of seconds 150 to 299 was within a day, but of a time the clock has left";

    history.Clear();
    EXPECT_EQ("", Bins(history, TrafficSpan::Day, At(86400 * 3)));
    EXPECT_EQ("", Bins(history, TrafficSpan::TenMinutes, At(86400 * 3)));
    // The second counted last before Clear is counted afresh.
    history.Count(At(86400), SeverityClass::Warning);
    EXPECT_EQ("0:0/0/1/0/0", Bins(history, TrafficSpan::TenMinutes, At(86400)));
    EXPECT_EQ("0:0/0/1/0/0", Bins(history, TrafficSpan::Day, At(86400)));
}

// "name=rows" of the names with most rows held, most first.
std::string TopNames(const std::vector<records::NameCount>& names) {
    std::string text;
    for (const records::NameCount& name : names)
        text += (text.empty() ? "" : " ") + name.name + "=" + std::to_string(name.rows);
    return text;
}

// The rows held per sender, host and app and those of an error or worse, as
// the book admits, lets rows leave and clears; the history counts every
// record admitted, held or not. Hosts are one whatever their case, written
// as their oldest row writes them; apps are told apart by case; a header
// without a host or an app adds none.
TEST(TrafficCounts, TheBookCountsItsRowsPerSenderHostAndAppAndItsErrorsAsRowsComeAndLeave) {
    records::RowBook book(4);
    enum class Do { Admit, AdmitUnheld, Keep, Clear };
    const struct Step {
        const char* what;
        Do action;
        const char* message;
        std::uint32_t sender;  // last number of 10.0.0.x
        size_t keep;
        std::string top;  // "x=rows" of the top senders, most first
        std::string hosts;
        std::string apps;
        size_t errors;
        std::uint64_t lastTenSeconds;
    } steps[] = {
        {"an error from .1", Do::Admit, "<3>Dec  8 10:00:00 fw1 kernel: disk error", 1, 0, "1=1", "fw1=1", "kernel=1",
         1, 1},
        {"a critical one from .2, the host in capitals", Do::Admit, "<10>Dec  8 10:00:01 FW1 fand[7]: fan failed", 2,
         0, "1=1 2=1", "fw1=2", "fand=1 kernel=1", 2, 2},
        {"a notice from .2 without an app", Do::Admit, "<13>Dec  8 10:00:02 sw2 all fine", 2, 0, "2=2 1=1",
         "fw1=2 sw2=1", "fand=1 kernel=1", 2, 3},
        {"no priority from .3: no header", Do::Admit, "Dec  8 10:00:03 sw2 kernel: no priority", 3, 0, "2=2 1=1 3=1",
         "fw1=2 sw2=1", "fand=1 kernel=1", 2, 4},
        {"not held: counted as traffic only", Do::AdmitUnheld, "<0>Dec  8 10:00:04 sw9 kernel: panic", 9, 0,
         "2=2 1=1 3=1", "fw1=2 sw2=1", "fand=1 kernel=1", 2, 5},
        {"the oldest, .1's error, leaves: fw1 as its next row writes it", Do::Admit,
         "<4>Dec  8 10:00:05 sw2 Kernel: warm", 3, 0, "2=2 3=2", "sw2=2 FW1=1", "fand=1 Kernel=1", 1, 6},
        {"fewer kept: .2's rows leave", Do::Keep, "", 0, 2, "3=2", "sw2=1", "Kernel=1", 0, 6},
        {"a priority past 191 is none", Do::Admit, "<192>odd", 3, 0, "3=2", "sw2=1", "Kernel=1", 0, 7},
        {"an app without a host", Do::Admit, "<14>Dec  8 10:00:08 fand: spinning", 3, 0, "3=2", "", "fand=1", 0, 8},
        {"Clear: nothing held, no history", Do::Clear, "", 0, 0, "", "", "", 0, 0},
        {"after Clear", Do::Admit, "<11>Dec  8 10:00:10 sw2 kernel: again", 4, 0, "4=1", "sw2=1", "kernel=1", 1, 1},
    };
    std::uint64_t second = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        std::string message = step.message;
        const net::SyslogRecord record{&message[0], step.sender << 24 | 10u, At(second++)};
        switch (step.action) {
        case Do::Admit:
        case Do::AdmitUnheld:
            book.Admit(record, step.action == Do::Admit);
            break;
        case Do::Keep:
            book.SetKeepRows(step.keep);
            break;
        case Do::Clear:
            book.Clear();
            break;
        }
        std::string top;
        for (const records::SenderCount& sender : book.Counts().TopSenders(10))
            top += (top.empty() ? "" : " ") + std::to_string(sender.address >> 24) + "=" + std::to_string(sender.rows);
        EXPECT_EQ(step.top, top);
        EXPECT_EQ(step.hosts, TopNames(book.NameCounts().TopHosts(10)));
        EXPECT_EQ(step.apps, TopNames(book.NameCounts().TopApps(10)));
        EXPECT_EQ(step.errors, book.Counts().ErrorsHeld());
        EXPECT_EQ(step.lastTenSeconds, book.History().Recent(At(second), 10));
    }
    // At most the number asked for, most rows first.
    for (int row = 0; row < 5; ++row) {
        std::string message = "<13>Dec  8 10:00:11 sw5 sshd: x";
        book.Admit({&message[0], 5u << 24 | 10u, At(second)}, true);
    }
    ASSERT_EQ(1u, book.Counts().TopSenders(1).size());
    EXPECT_EQ(5u << 24 | 10u, book.Counts().TopSenders(1)[0].address);
    EXPECT_EQ("sw5=2", TopNames(book.NameCounts().TopHosts(1)));
    EXPECT_EQ("sshd=2", TopNames(book.NameCounts().TopApps(1)));
}

// Many senders, neighbours in address, held and leaving in a mixed order as
// the rows of a busy network do: each keeps its own count, and one that
// leaves with its last row takes no other with it. Thousands of them held
// at once, and a thousand of which no more than two dozen rows are held at
// a time, which keeps the table small and its ends busy.
TEST(TrafficCounts, ManySendersComeAndGoAndEachKeepsItsCount) {
    const struct {
        std::uint32_t hosts;
        size_t mostRows;
    } mixes[] = {{3000, SIZE_MAX}, {1000, 24}};
    for (const auto& mix : mixes) {
        SCOPED_TRACE(mix.hosts);
        records::HeldCounts counts;
        std::map<std::uint32_t, size_t> model;
        std::vector<std::uint32_t> held;  // one entry a row
        std::uint32_t random = 12345;
        const auto next = [&random] { return random = random * 1103515245u + 12345u; };
        for (int step = 0; step < 60000; ++step) {
            const bool add = held.empty() ||
                             (held.size() < mix.mostRows && (next() >> 16) % 100 < (step < 30000 ? 60u : 40u));
            if (add) {
                const std::uint32_t host = (next() >> 16) % mix.hosts;
                const std::uint32_t sender = 10u | (host >> 8) << 16 | (host & 0xFFu) << 24;  // 10.0.0.0 up
                counts.Add(sender, false);
                ++model[sender];
                held.push_back(sender);
            } else {
                const size_t row = (next() >> 8) % held.size();
                const std::uint32_t sender = held[row];
                held[row] = held.back();
                held.pop_back();
                counts.Remove(sender, false);
                if (--model[sender] == 0) model.erase(sender);
            }
            if (step % 500 != 499) continue;
            ASSERT_EQ(model.size(), counts.Senders()) << "step " << step;
            std::map<std::uint32_t, size_t> seen;
            for (const records::SenderCount& sender : counts.TopSenders(model.size() + 1))
                seen[sender.address] = sender.rows;
            ASSERT_EQ(model, seen) << "step " << step;
        }
        while (!held.empty()) {
            counts.Remove(held.back(), false);
            held.pop_back();
        }
        EXPECT_EQ(0u, counts.Senders());
        EXPECT_TRUE(counts.TopSenders(10).empty());
    }
}

// The same for hosts and apps, by name: a host comes in either case and
// counts as one, an app in another case is another app.
TEST(TrafficCounts, ManyHostsAndAppsComeAndGoAndEachKeepsItsCount) {
    const struct {
        unsigned names;
        size_t mostRows;
    } mixes[] = {{3000, SIZE_MAX}, {1000, 24}};
    for (const auto& mix : mixes) {
        SCOPED_TRACE(mix.names);
        records::HeldNameCounts counts;
        std::map<std::string, size_t> hosts, apps;  // hosts by their name in lower case
        std::vector<std::string> held;              // one name a row, as it came
        std::uint32_t random = 54321;
        const auto next = [&random] { return random = random * 1103515245u + 12345u; };
        for (int step = 0; step < 60000; ++step) {
            const bool add = held.empty() ||
                             (held.size() < mix.mostRows && (next() >> 16) % 100 < (step < 30000 ? 60u : 40u));
            if (add) {
                std::string name = "dev" + std::to_string((next() >> 16) % mix.names);
                if ((next() >> 16) % 4 == 0) name[0] = 'D';
                counts.Add(name, name);
                std::string lower = name;
                lower[0] = 'd';
                ++hosts[lower];
                ++apps[name];
                held.push_back(name);
            } else {
                const size_t row = (next() >> 8) % held.size();
                const std::string name = held[row];
                held[row] = held.back();
                held.pop_back();
                counts.Remove(name, name);
                std::string lower = name;
                lower[0] = 'd';
                if (--hosts[lower] == 0) hosts.erase(lower);
                if (--apps[name] == 0) apps.erase(name);
            }
            if (step % 500 != 499) continue;
            ASSERT_EQ(hosts.size(), counts.Hosts()) << "step " << step;
            ASSERT_EQ(apps.size(), counts.Apps()) << "step " << step;
            std::map<std::string, size_t> seenHosts, seenApps;
            for (records::NameCount& host : counts.TopHosts(hosts.size() + 1)) {
                host.name[0] = 'd';
                seenHosts[host.name] = host.rows;
            }
            for (const records::NameCount& app : counts.TopApps(apps.size() + 1)) seenApps[app.name] = app.rows;
            ASSERT_EQ(hosts, seenHosts) << "step " << step;
            ASSERT_EQ(apps, seenApps) << "step " << step;
        }
        while (!held.empty()) {
            counts.Remove(held.back(), held.back());
            held.pop_back();
        }
        EXPECT_EQ(0u, counts.Hosts());
        EXPECT_EQ(0u, counts.Apps());
        EXPECT_TRUE(counts.TopHosts(10).empty());
    }
}

}  // namespace
