// WatchRule.h: a rule that watches the rows: the filter's conditions, its colours, and what a match does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "records/RowFilter.h"

namespace records {

constexpr size_t kMostWatchRules = 64;

// A colour as the system gives it (0x00BBGGRR), or the list's own.
constexpr std::uint32_t kListColour = 0xFFFFFFFF;

struct WatchRule {
    std::string name;
    RowFilter conditions;  // as the filter's: all must hold; none set matches every row
    std::uint32_t textColour = kListColour;
    std::uint32_t backgroundColour = kListColour;
    bool mark = false;    // a mark in the From column; F2 goes to it
    bool flash = false;   // the taskbar button flashes
    bool notify = false;  // a notification from the notification area
    bool beep = false;

    // Whether a match calls the user, not just colours or marks the row.
    bool CallsUser() const { return flash || notify || beep; }
};

}  // namespace records
