// StatusBar.h: the bar under the Diagnostics pane that tells the traffic at a glance; made when first shown.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "list/MessageList.h"
#include "net/DeliveryQueue.h"
#include "records/CaptureFile.h"
#include "records/RowBook.h"
#include "settings/Settings.h"

namespace ui {

// The Capture file: open, not asked for, or asked for but not open (it could not be opened or written).
enum class CaptureState { On, Off, Failed };

struct StatusFacts {
    size_t heldRows = 0;
    size_t shownRows = 0;
    bool filterInForce = false;
    std::uint64_t lastFiveSeconds = 0;  // messages arrived, now's second included
    size_t errorsHeld = 0;              // rows held of severity 0 to 3
    CaptureState capture = CaptureState::Off;
    unsigned long long dropped = 0;  // records dropped since start
    bool paused = false;
    size_t newWhilePaused = 0;
};

constexpr size_t kStatusParts = 6;
constexpr size_t kStatusPartCapacity = 80;

struct StatusTexts {
    wchar_t part[kStatusParts][kStatusPartCapacity];
};

// "Rows: 1,234" (or "Rows: 12 of 1,234 shown"), "Messages/s: 2.4", "Errors
// or worse: 3", "Capture on" ("off", "failed"), "Dropped: 5" and "Paused, 7
// new"; the last two empty when there is nothing to say. Numbers as the
// locale writes them.
StatusTexts FormatStatus(const StatusFacts& facts);

// Where the bar reads what it tells; fixed for the Main window's life.
struct StatusSources {
    const records::RowBook& book;
    const list::MessageList& list;
    const records::CaptureFile& captureFile;
    const std::optional<settings::Settings>& settings;  // absent past the destruction handler
    const net::DeliveryQueue& deliveries;
};

// A status bar control along the bottom of the Main window. It is told of
// arrivals by its owner, and looks again a second after it last told, for
// the rate, which falls while nothing arrives.
class StatusBar {
public:
    static constexpr UINT_PTR kTimerId = 3;  // on the parent, beside its other timers
    static constexpr ULONGLONG kShortestIntervalMs = 250;
    static constexpr UINT kLookAgainMs = 1000;

    explicit StatusBar(const StatusSources& sources) : sources_(sources) {}
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // Shows it along the parent's bottom, made the first time, or hides it;
    // false when it could not be made.
    bool Show(HWND parent, bool shown);
    bool IsShown() const { return shown_; }
    HWND Handle() const { return bar_; }

    // After the parent changed size: the height it takes at the bottom, 0 while hidden.
    int Layout();

    // Tells what the sources say now, but never within kShortestIntervalMs of
    // the last time: then a change that must be shown (a flood has ended, the
    // user acted) is told as soon as the interval is over, and anything else
    // waits for the next look.
    void Refresh(bool mustShow);
    bool IsTimer(WPARAM timerId) const { return timerId == kTimerId; }

private:
    void SetParts();
    StatusFacts Facts() const;

    const StatusSources sources_;
    HWND parent_ = nullptr;  // its timer's window
    HWND bar_ = nullptr;     // a child of the parent, destroyed with it
    bool shown_ = false;
    ULONGLONG toldAt_ = 0;
    StatusTexts told_ = {};
};

}  // namespace ui
