// WindowTitle.h: the Main window's title, which says how many rows a filter shows, that the list is paused and
// that the capture switch is off.
#pragma once

#include <windows.h>

#include <cstddef>

namespace app {

constexpr size_t kTitleCapacity = 256;

// What the title tells beside the program's name.
struct TitleFacts {
    bool filterInForce = false;
    size_t shownRows = 0;
    size_t heldRows = 0;
    bool paused = false;
    size_t newWhilePaused = 0;
    bool captureOff = false;

    bool IsPlain() const { return !filterInForce && !paused && !captureOff; }
};

// "Kelv SysLog monitor", then " - N of M rows shown" while a filter is in
// force, " - paused, N new" while the list is paused and " - capture off:
// arriving messages are ignored" while the capture switch is off, in that order.
void FormatMainWindowTitle(const TitleFacts& facts, char (&title)[kTitleCapacity]);

// The title as the window shows it. Left exactly the program's name while it
// has nothing more to tell, so the title is set only once it has.
class WindowTitle {
public:
    void Show(HWND window, const TitleFacts& facts);
    // After a turn of the burst policy: a title set costs the window manager
    // a round trip, so during a flood the title follows at most every
    // shortestIntervalMs, and exactly when the flood ends (ended).
    void ShowAfterTurn(HWND window, const TitleFacts& facts, bool ended, ULONGLONG shortestIntervalMs);

private:
    bool toldMore_ = false;  // it tells more than the program's name
    ULONGLONG shownAt_ = 0;
};

}  // namespace app
