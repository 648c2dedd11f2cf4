// MatchCalls.h: calling the user when a watch rule matches: notification, flash and beep, paced.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "app/CallPacing.h"
#include "app/NotifyIcon.h"
#include "records/WatchRules.h"

namespace app {

// The Main window's part that calls the user back to it. The pacing decides
// when (CallPacing); this carries the calls out: a notification from the
// icon, the taskbar button flashing until the window comes to the front, a
// beep. The monitor's window counts as in front while it, or a window it
// owns, is the foreground window.
class MatchCalls {
public:
    // The delivery pump's timer is 1.
    static constexpr UINT_PTR kTimerId = 2;

    // The window the icon, the flash and the timer belong to.
    void Start(HWND window);
    // Whether the icon is shown: while a rule that notifies exists.
    void WantIcon(bool want) { icon_.Want(want); }
    // The rules were replaced: matches waiting for a summary are forgotten.
    void RulesChanged();
    // An arriving record matched the rules whose bits are set (bit i: rule i);
    // now from GetTickCount64. Without memory for a call, that call is lost.
    void OnMatches(std::uint64_t matched, const records::WatchRules& rules, const char* message, ULONGLONG now);
    bool IsTimer(WPARAM timerId) const { return timerId == kTimerId; }
    // The summaries that are due, of the rules the matches were of.
    void OnTimer(const records::WatchRules& rules, ULONGLONG now);
    // UM_NOTIFY_ICON: a click or double click on the icon, or on its
    // notification, brings the window to the front, restored if minimised.
    void OnIconMessage(WPARAM wParam, LPARAM lParam);
    // Whether the message is the shell's "TaskbarCreated" (the icon is back).
    bool OnShellRestarted(UINT message) { return icon_.OnShellRestarted(message); }
    // WM_ACTIVATE: the window came to the front, which ends a flash.
    void OnActivated() { flashing_ = false; }
    // At the window's destruction: the timer stops and the icon goes.
    void Stop();

private:
    bool InFront() const;
    void Carry(const Call& call);
    void Flash();
    void ArmTimer(ULONGLONG now);

    HWND window_ = nullptr;
    CallPacing pacing_;
    NotifyIcon icon_;
    bool flashing_ = false;
    std::optional<std::uint64_t> armedFor_;  // when the timer is set to bring the next summary
};

}  // namespace app
