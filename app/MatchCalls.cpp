// MatchCalls.cpp: the paced calls carried out with the shell's icon, FlashWindowEx and MessageBeep.
#include "app/MatchCalls.h"

#include <shellapi.h>

#include <new>

namespace app {

void MatchCalls::Start(HWND window) {
    window_ = window;
    icon_.Start(window);
}

void MatchCalls::RulesChanged() {
    pacing_.Forget();
    ArmTimer(0);
}

void MatchCalls::OnMatches(std::uint64_t matched, const records::WatchRules& rules, const char* message,
                           ULONGLONG now) {
    const bool inFront = InFront();
    for (size_t index = 0; index < rules.Count(); ++index) {
        if (!(matched >> index & 1)) continue;
        try {
            if (const std::optional<Call> call = pacing_.Match(rules, index, message, now, inFront))
                Carry(*call);
        } catch (const std::bad_alloc&) {
        }
    }
    ArmTimer(now);
}

void MatchCalls::OnTimer(const records::WatchRules& rules, ULONGLONG now) {
    try {
        for (const Call& call : pacing_.Due(rules, now, InFront())) Carry(call);
    } catch (const std::bad_alloc&) {
    }
    // The timer repeats, and may come a tick before the summary's time: it is set afresh.
    KillTimer(window_, kTimerId);
    armedFor_.reset();
    ArmTimer(now);
}

void MatchCalls::OnIconMessage(WPARAM wParam, LPARAM lParam) {
    const UINT event = static_cast<UINT>(lParam);
    if (wParam != NotifyIcon::kIconId) return;
    if (event != WM_LBUTTONUP && event != WM_LBUTTONDBLCLK && event != NIN_BALLOONUSERCLICK) return;
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    // A dialog the window has open comes with it, in front of it.
    SetForegroundWindow(GetLastActivePopup(window_));
}

void MatchCalls::Stop() {
    pacing_.Forget();
    ArmTimer(0);
    icon_.Stop();
}

bool MatchCalls::InFront() const {
    const HWND foreground = GetForegroundWindow();
    return foreground && (foreground == window_ || GetAncestor(foreground, GA_ROOTOWNER) == window_);
}

void MatchCalls::Carry(const Call& call) {
    if (call.notify) icon_.Notify(call.title, call.text);
    if (call.flash) Flash();
    if (call.beep) MessageBeep(MB_OK);
}

// The taskbar button flashes until the window comes to the front; asking
// again meanwhile would only restart it.
void MatchCalls::Flash() {
    if (flashing_) return;
    FLASHWINFO flash{sizeof flash, window_, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
    flashing_ = true;
}

// Set again only when the next summary is due at another time, so a flood of
// matches costs no timer call each.
void MatchCalls::ArmTimer(ULONGLONG now) {
    const std::optional<std::uint64_t> due = pacing_.NextDue();
    if (due == armedFor_) return;
    armedFor_ = due;
    if (!due) {
        KillTimer(window_, kTimerId);
        return;
    }
    const std::uint64_t wait = *due > now ? *due - now : 0;
    SetTimer(window_, kTimerId, wait > USER_TIMER_MINIMUM ? static_cast<UINT>(wait) : USER_TIMER_MINIMUM, nullptr);
}

}  // namespace app
