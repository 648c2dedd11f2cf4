// WatchRules.cpp: every rule is tried on an arriving row; the first one found decides its look.
#include "records/WatchRules.h"

#include <cstring>
#include <new>
#include <utility>

namespace records {

bool WatchRules::Set(std::vector<CountedRule> rules) {
    if (rules.size() > kMostWatchRules) rules.resize(kMostWatchRules);
    std::vector<std::unique_ptr<RowFilterTest>> tests;
    try {
        tests.reserve(rules.size());
        for (const CountedRule& counted : rules) tests.push_back(std::make_unique<RowFilterTest>(counted.rule.conditions));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (CountedRule& counted : rules) {
        if (counted.id == 0) {
            counted.id = ++lastId_;
            continue;
        }
        for (const CountedRule& current : rules_)
            if (current.id == counted.id) counted.matches = current.matches;
    }
    // Moving the vector keeps its elements where they are, so the tests still refer to them.
    rules_ = std::move(rules);
    tests_ = std::move(tests);
    return true;
}

bool WatchRules::AnyNotifies() const {
    for (const CountedRule& counted : rules_)
        if (counted.rule.notify) return true;
    return false;
}

// The sender's text is formatted once for all the rules.
WatchMatch WatchRules::Watch(const StoredRow& stored) {
    const RowUnderTest row(stored);
    WatchMatch match;
    for (size_t index = 0; index < tests_.size(); ++index) {
        if (!tests_[index]->Passes(row)) continue;
        ++rules_[index].matches;
        match.matched |= std::uint64_t{1} << index;
        if (match.first == kNoRule) match.first = static_cast<int>(index);
    }
    return match;
}

int WatchRules::FirstMatch(const StoredRow& stored) const {
    const RowUnderTest row(stored);
    for (size_t index = 0; index < tests_.size(); ++index)
        if (tests_[index]->Passes(row)) return static_cast<int>(index);
    return kNoRule;
}

StoredRow RowOfRecord(const char* message, std::uint32_t senderAddress, std::uint64_t receivedAt) {
    return {message, std::strlen(message), senderAddress, receivedAt};
}

}  // namespace records
