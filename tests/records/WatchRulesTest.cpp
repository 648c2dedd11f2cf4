// WatchRulesTest.cpp: the rules in force: each keeps its count wherever it is moved, and 64 at most are kept.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "records/WatchRules.h"

namespace {

using records::CountedRule;

CountedRule Showing(const std::string& text) {
    CountedRule counted;
    counted.rule.name = text;
    counted.rule.conditions.showText = text;
    return counted;
}

// The bits of the rules an arriving row matched.
std::uint64_t Arrive(records::WatchRules& rules, const char* message) {
    return rules.Watch(records::RowOfRecord(message, 0, 0)).matched;
}

// "name count" per rule, in order.
std::vector<std::string> Counts(const records::WatchRules& rules) {
    std::vector<std::string> counts;
    for (const CountedRule& counted : rules.Rules())
        counts.push_back(counted.rule.name + " " + std::to_string(counted.matches));
    return counts;
}

// As the dialog hands them back: a copy, moved and edited while rows went on arriving.
TEST(WatchRules, ARuleMovedOrEditedInACopyKeepsItsOwnCountAndWhatCameMeanwhile) {
    records::WatchRules rules;
    ASSERT_TRUE(rules.Set({Showing("link"), Showing("disk")}));
    Arrive(rules, "link down");
    Arrive(rules, "disk full");
    std::vector<CountedRule> edited = rules.Rules();
    std::swap(edited[0], edited[1]);
    edited[1].rule.name = "LINK";
    edited.push_back(Showing("new"));
    Arrive(rules, "disk full again");

    ASSERT_TRUE(rules.Set(std::move(edited)));
    EXPECT_EQ((std::vector<std::string>{"disk 2", "LINK 1", "new 0"}), Counts(rules));
    EXPECT_EQ(0b010u, Arrive(rules, "link up"));
    EXPECT_EQ((std::vector<std::string>{"disk 2", "LINK 2", "new 0"}), Counts(rules));
}

TEST(WatchRules, SixtyFourAreKeptAndTheLastOfThemMatches) {
    std::vector<CountedRule> many;
    for (int i = 1; i <= 65; ++i) many.push_back(Showing("rule " + std::to_string(i) + ";"));
    records::WatchRules rules;
    ASSERT_TRUE(rules.Set(std::move(many)));
    EXPECT_EQ(64u, rules.Count());
    EXPECT_EQ(std::uint64_t{1} << 63, Arrive(rules, "rule 64;"));
    EXPECT_EQ(0u, Arrive(rules, "rule 65;"));
}

}  // namespace
