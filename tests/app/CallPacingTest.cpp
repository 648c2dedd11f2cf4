// CallPacingTest.cpp: when watch rules' matches call the user, on a clock the test turns by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CallPacing.h"

namespace {

using app::Call;
using app::CallPacing;

records::WatchRule Rule(const char* name, bool notify, bool flash, bool beep) {
    records::WatchRule rule;
    rule.name = name;
    rule.notify = notify;
    rule.flash = flash;
    rule.beep = beep;
    return rule;
}

std::unique_ptr<records::WatchRules> InForce(std::vector<records::WatchRule> rules) {
    auto watched = std::make_unique<records::WatchRules>();
    std::vector<records::CountedRule> counted;
    for (records::WatchRule& rule : rules) counted.push_back({std::move(rule), 0, 0});
    watched->Set(std::move(counted));
    return watched;
}

const std::unique_ptr<records::WatchRules> kRules = InForce({
    Rule("LINK-DOWN", true, true, false),
    Rule("DISK", true, false, true),
    Rule("MARKED ONLY", false, false, false),
});

constexpr int kTimer = -1;

// One moment of a run: a match of rule (or the timer), and what the user is told then.
struct Step {
    std::uint64_t at;
    int rule;
    const char* message;
    bool inFront;
    const char* told;  // each call as "title | text | what", calls joined by "; "
};

std::string Told(const std::vector<Call>& calls) {
    std::string told;
    for (const Call& call : calls) {
        if (!told.empty()) told += "; ";
        told += call.title + " | " + call.text + " |";
        if (call.notify) told += " notify";
        if (call.flash) told += " flash";
        if (call.beep) told += " beep";
    }
    return told;
}

std::string ToldAt(CallPacing& pacing, const Step& step) {
    if (step.rule == kTimer) return Told(pacing.Due(*kRules, step.at, step.inFront));
    const std::optional<Call> call =
        pacing.Match(*kRules, static_cast<size_t>(step.rule), step.message, step.at, step.inFront);
    return Told(call ? std::vector<Call>{*call} : std::vector<Call>{});
}

TEST(CallPacing, TellsTheFirstMatchAtOnceAndSumsUpTheNextTenSecondsPerRule) {
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"the first match at once, its message up to the line break",
         {{5000, 0, "<12>link down on port 3\r\nsecond line", false,
           "LINK-DOWN | <12>link down on port 3 | notify flash"}}},
        {"later matches counted, told with the newest message when ten seconds have passed",
         {{0, 0, "first", false, "LINK-DOWN | first | notify flash"},
          {1000, 0, "second", false, ""},
          {4000, 0, "third", false, ""},
          {9999, kTimer, nullptr, false, ""},
          {10000, kTimer, nullptr, false, "LINK-DOWN: 2 matches in 10 s | third | notify flash"},
          {12000, 0, "fourth", false, ""},
          {20000, kTimer, nullptr, false, "LINK-DOWN: 1 match in 10 s | fourth | notify flash"},
          {30000, kTimer, nullptr, false, ""},
          {31000, 0, "fifth", false, "LINK-DOWN | fifth | notify flash"}}},
        {"a late timer counts the seconds that passed, rounded, and the matches that came meanwhile",
         {{0, 0, "first", false, "LINK-DOWN | first | notify flash"},
          {500, 0, "second", false, ""},
          {11000, 0, "past ten seconds", false, ""},
          {12600, kTimer, nullptr, false, "LINK-DOWN: 2 matches in 13 s | past ten seconds | notify flash"}}},
        {"each rule paced on its own",
         {{0, 0, "link", false, "LINK-DOWN | link | notify flash"},
          {500, 1, "disk", false, "DISK | disk | notify beep"},
          {1000, 0, "link again", false, ""},
          {10000, kTimer, nullptr, false, "LINK-DOWN: 1 match in 10 s | link again | notify flash"},
          {10500, 1, "disk again", false, "DISK | disk again | notify beep"}}},
        {"nothing without a match, nor for a rule that only marks",
         {{0, kTimer, nullptr, false, ""},
          {100, 2, "marked", false, ""},
          {200, 2, "marked", false, ""},
          {20000, kTimer, nullptr, false, ""}}},
        {"in front only the beep calls, and a call that did nothing starts no quiet spell",
         {{0, 0, "seen in the list", true, ""},
          {100, 1, "disk", true, "DISK | disk | beep"},
          {1000, 0, "behind another window", false, "LINK-DOWN | behind another window | notify flash"}}},
        {"a summary due while in front is dropped",
         {{0, 0, "first", false, "LINK-DOWN | first | notify flash"},
          {2000, 0, "second", false, ""},
          {10000, kTimer, nullptr, true, ""},
          {10500, kTimer, nullptr, false, ""},
          {11000, 0, "after the drop", false, "LINK-DOWN | after the drop | notify flash"}}},
    };
    for (const auto& test : cases) {
        CallPacing pacing;
        for (const Step& step : test.steps)
            EXPECT_EQ(step.told, ToldAt(pacing, step)) << test.what << ", at " << step.at << " ms";
    }
}

TEST(CallPacing, NextDueIsTenSecondsAfterTheLastCallOfARuleWithMatchesWaiting) {
    CallPacing pacing;
    EXPECT_FALSE(pacing.NextDue());
    pacing.Match(*kRules, 0, "first", 1000, false);
    EXPECT_FALSE(pacing.NextDue());
    pacing.Match(*kRules, 1, "first", 3000, false);
    pacing.Match(*kRules, 1, "second", 4000, false);
    pacing.Match(*kRules, 0, "second", 5000, false);
    EXPECT_EQ(11000u, pacing.NextDue().value_or(0));
    pacing.Forget();
    EXPECT_FALSE(pacing.NextDue());
}

TEST(CallPacing, TextsAreCutToWhatANotificationHolds) {
    const std::string longName(80, 'N');
    const std::string longLine(300, 'x');
    EXPECT_EQ("after leading breaks", app::NotificationText("\r\n\nafter leading breaks\nnext"));
    EXPECT_EQ("(empty message)", app::NotificationText(""));
    EXPECT_EQ("(empty message)", app::NotificationText("\r\n"));
    EXPECT_EQ(longLine.substr(0, CallPacing::kMostTextBytes), app::NotificationText(longLine.c_str()));

    CallPacing pacing;
    const std::unique_ptr<records::WatchRules> named = InForce({Rule(longName.c_str(), true, false, false)});
    EXPECT_EQ(longName.substr(0, CallPacing::kMostTitleBytes), pacing.Match(*named, 0, "a", 0, false)->title);
    pacing.Match(*named, 0, "b", 1, false);
    const std::vector<Call> summary = pacing.Due(*named, CallPacing::kQuietMs, false);
    ASSERT_EQ(1u, summary.size());
    const std::string counts = ": 1 match in 10 s";
    EXPECT_EQ(longName.substr(0, CallPacing::kMostTitleBytes - counts.size()) + counts, summary[0].title);
}

}  // namespace
