// CallPacing.cpp: a call at once after a quiet spell, a summary per rule when the spell after it ends.
#include "app/CallPacing.h"

#include <cstdio>
#include <cstring>

namespace app {

namespace {

// Shown for a message with nothing before its first line break: an empty
// notification would show nothing at all.
constexpr char kNoText[] = "(empty message)";

// "<name>: <n> matches in <s> s", the name cut so that the counts always fit.
std::string SummaryTitle(const std::string& name, std::uint64_t matches, std::uint64_t seconds) {
    char counts[64];
    std::snprintf(counts, sizeof counts, ": %llu %s in %llu s", static_cast<unsigned long long>(matches),
                  matches == 1 ? "match" : "matches", static_cast<unsigned long long>(seconds));
    const size_t room = CallPacing::kMostTitleBytes - std::strlen(counts);
    return name.substr(0, room) + counts;
}

}  // namespace

void CopyNotificationText(const char* message, std::string& text) {
    while (*message == '\r' || *message == '\n') ++message;
    const size_t line = std::strcspn(message, "\r\n");
    if (line == 0)
        text.assign(kNoText);
    else
        text.assign(message, line < CallPacing::kMostTextBytes ? line : CallPacing::kMostTextBytes);
}

std::string NotificationText(const char* message) {
    std::string text;
    CopyNotificationText(message, text);
    return text;
}

std::optional<Call> CallPacing::Match(const records::WatchRules& rules, size_t index, const char* message,
                                      std::uint64_t now, bool inFront) {
    const records::WatchRule& rule = rules.Rule(index);
    if (!rule.CallsUser()) return std::nullopt;
    if (index >= rules_.size()) rules_.resize(index + 1);
    RulePace& pace = rules_[index];
    const bool quiet = !pace.called || now - pace.calledAt >= kQuietMs;
    if (quiet && pace.waiting == 0) {
        Call call{rule.name.substr(0, kMostTitleBytes), NotificationText(message), rule.notify && !inFront,
                  rule.flash && !inFront, rule.beep};
        // A call that does nothing starts no quiet spell.
        if (!call.notify && !call.flash && !call.beep) return std::nullopt;
        pace.called = true;
        pace.calledAt = now;
        return call;
    }
    ++pace.waiting;
    CopyNotificationText(message, pace.newest);
    return std::nullopt;
}

std::vector<Call> CallPacing::Due(const records::WatchRules& rules, std::uint64_t now, bool inFront) {
    std::vector<Call> calls;
    for (size_t index = 0; index < rules_.size() && index < rules.Count(); ++index) {
        RulePace& pace = rules_[index];
        if (pace.waiting == 0 || now - pace.calledAt < kQuietMs) continue;
        if (!inFront) {
            const records::WatchRule& rule = rules.Rule(index);
            const std::uint64_t seconds = (now - pace.calledAt + 500) / 1000;
            calls.push_back({SummaryTitle(rule.name, pace.waiting, seconds), pace.newest, rule.notify, rule.flash,
                             rule.beep});
            pace.calledAt = now;
        }
        pace.waiting = 0;
    }
    return calls;
}

std::optional<std::uint64_t> CallPacing::NextDue() const {
    std::optional<std::uint64_t> next;
    for (const RulePace& pace : rules_)
        if (pace.waiting != 0 && (!next || pace.calledAt + kQuietMs < *next)) next = pace.calledAt + kQuietMs;
    return next;
}

}  // namespace app
