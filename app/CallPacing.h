// CallPacing.h: when a watch rule's matches call the user: the first at once, those after it summed up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/WatchRules.h"

namespace app {

// What one call of the user does, as the window layer carries it out.
struct Call {
    std::string title;  // the rule's name, or the summary of its matches
    std::string text;   // the (newest) message, up to its first line break
    bool notify = false;
    bool flash = false;
    bool beep = false;
};

// Per rule, the first match after a quiet kQuietMs is told at once; later
// matches within kQuietMs of the last call are counted and told together,
// with the newest message, once kQuietMs have passed since that call. So a
// flood calls the user at most once per rule in kQuietMs. Only the beep calls
// while the monitor's window is in front, where the rows speak for
// themselves: a match in front notifies and flashes nothing, and a summary
// that falls due in front is dropped. Times are milliseconds on any clock
// that only goes forward.
class CallPacing {
public:
    static constexpr std::uint64_t kQuietMs = 10000;
    // What a notification holds, less its terminator.
    static constexpr size_t kMostTitleBytes = 63;
    static constexpr size_t kMostTextBytes = 255;

    // A match of the rule at this index of the rules in force; inFront: the monitor's window is in front.
    std::optional<Call> Match(const records::WatchRules& rules, size_t index, const char* message,
                              std::uint64_t now, bool inFront);
    // The summaries due at now, in rule order, of the same rules as the matches.
    std::vector<Call> Due(const records::WatchRules& rules, std::uint64_t now, bool inFront);
    // When the next summary falls due, or nothing when no match waits.
    std::optional<std::uint64_t> NextDue() const;
    // The rules were replaced: what waited belongs to rules that may be gone.
    void Forget() { rules_.clear(); }

private:
    struct RulePace {
        bool called = false;
        std::uint64_t calledAt = 0;
        std::uint64_t waiting = 0;  // matches since the last call
        std::string newest;         // the newest waiting match's text, its room kept through a flood
    };

    std::vector<RulePace> rules_;  // by rule index, grown as matches come
};

// A message as a notification shows it: up to its first line break, as many bytes as fit.
std::string NotificationText(const char* message);
// The same into text, which keeps its room.
void CopyNotificationText(const char* message, std::string& text);

}  // namespace app
