// FilterTitle.h: the Main window's title, which says how many rows a filter shows.
#pragma once

#include <cstddef>

namespace app {

constexpr size_t kTitleCapacity = 128;

// "Kelv SysLog monitor - N of M rows shown" while a filter is in force, else the plain title.
void FormatMainWindowTitle(bool filterInForce, size_t shownRows, size_t heldRows, char (&title)[kTitleCapacity]);

}  // namespace app
