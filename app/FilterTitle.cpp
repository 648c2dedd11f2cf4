// FilterTitle.cpp: the counts grouped by the system's number format with no decimals.
#include "app/FilterTitle.h"

#include <windows.h>

#include <cstdio>

#include "app/MainWindowClassName.h"
#include "win/LocaleNumber.h"

namespace app {

void FormatMainWindowTitle(bool filterInForce, size_t shownRows, size_t heldRows, char (&title)[kTitleCapacity]) {
    if (!filterInForce) {
        std::snprintf(title, kTitleCapacity, "%s", kMainWindowTitle);
        return;
    }
    char shown[win::kGroupedCountCapacity];
    char held[win::kGroupedCountCapacity];
    win::FormatGroupedCount(shownRows, shown);
    win::FormatGroupedCount(heldRows, held);
    std::snprintf(title, kTitleCapacity, "%s - %s of %s rows shown", kMainWindowTitle, shown, held);
}

}  // namespace app
