// WatchRules.h: the watch rules in force, in order, made ready to test rows, with their matches counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "records/StoredRow.h"
#include "records/WatchRule.h"

namespace records {

// One rule and how many arriving rows it has matched since the program started.
struct CountedRule {
    WatchRule rule;
    std::uint64_t matches = 0;
    std::uint32_t id = 0;  // given when it is first put in force; 0 until then
};

// What one arriving row matched.
struct WatchMatch {
    int first = kNoRule;        // the rule whose colours and mark the row takes
    std::uint64_t matched = 0;  // bit i: rule i matched
};

class WatchRules {
public:
    WatchRules() = default;
    WatchRules(const WatchRules&) = delete;  // the tests refer to the rules held
    WatchRules& operator=(const WatchRules&) = delete;

    // Takes the rules, in order, at most kMostWatchRules; false, with the
    // rules as they were, when there is no memory to make them ready. A rule
    // already in force (a copy of one, edited or not) keeps counting where it
    // is now, so the matches made while a copy was being edited are not lost.
    bool Set(std::vector<CountedRule> rules);

    size_t Count() const { return rules_.size(); }
    const std::vector<CountedRule>& Rules() const { return rules_; }
    const WatchRule& Rule(size_t index) const { return rules_[index].rule; }
    // Whether any rule notifies, so the icon in the notification area is wanted.
    bool AnyNotifies() const;

    // An arriving row: every rule it matches counts it.
    WatchMatch Watch(const StoredRow& row);
    // The first rule the row matches, or kNoRule; nothing is counted.
    int FirstMatch(const StoredRow& row) const;

private:
    std::vector<CountedRule> rules_;
    std::vector<std::unique_ptr<RowFilterTest>> tests_;
    std::uint32_t lastId_ = 0;  // tests_[i] refers to rules_[i]'s conditions
};

// The row a record will make, to test it before it is stored or when it is not stored at all.
StoredRow RowOfRecord(const char* message, std::uint32_t senderAddress, std::uint64_t receivedAt);

}  // namespace records
