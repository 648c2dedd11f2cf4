// WindowTitle.cpp: the counts grouped by the system's number format with no decimals.
#include "app/WindowTitle.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/MainWindowClassName.h"
#include "win/LocaleNumber.h"

namespace app {

namespace {

// After what the title holds, cut at its end.
void Append(char (&title)[kTitleCapacity], const char* text) {
    const size_t used = std::strlen(title);
    std::snprintf(title + used, kTitleCapacity - used, "%s", text);
}

}  // namespace

void FormatMainWindowTitle(const TitleFacts& facts, char (&title)[kTitleCapacity]) {
    std::snprintf(title, kTitleCapacity, "%s", kMainWindowTitle);
    char part[kTitleCapacity];
    if (facts.filterInForce) {
        char shown[win::kGroupedCountCapacity];
        char held[win::kGroupedCountCapacity];
        win::FormatGroupedCount(facts.shownRows, shown);
        win::FormatGroupedCount(facts.heldRows, held);
        std::snprintf(part, sizeof part, " - %s of %s rows shown", shown, held);
        Append(title, part);
    }
    if (facts.paused) {
        char fresh[win::kGroupedCountCapacity];
        win::FormatGroupedCount(facts.newWhilePaused, fresh);
        std::snprintf(part, sizeof part, " - paused, %s new", fresh);
        Append(title, part);
    }
    if (facts.captureOff) Append(title, " - capture off: arriving messages are ignored");
}

void WindowTitle::Show(HWND window, const TitleFacts& facts) {
    if (facts.IsPlain() && !toldMore_) return;
    char title[kTitleCapacity];
    FormatMainWindowTitle(facts, title);
    SetWindowTextA(window, title);
    toldMore_ = !facts.IsPlain();
}

void WindowTitle::ShowAfterTurn(HWND window, const TitleFacts& facts, bool ended, ULONGLONG shortestIntervalMs) {
    const ULONGLONG now = GetTickCount64();
    if (!ended && now - shownAt_ < shortestIntervalMs) return;
    shownAt_ = now;
    Show(window, facts);
}

}  // namespace app
