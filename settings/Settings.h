// Settings.h: the options kept in the INI file, read and written when asked.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "settings/ColumnLayout.h"
#include "settings/IniSection.h"

namespace settings {

// How many of the newest rows the list keeps.
constexpr size_t kDefaultKeepRows = 1000000;
constexpr size_t kFewestKeptRows = 1000;
constexpr size_t kMostKeptRows = 100000000;

// Where a window was last, in screen pixels.
struct WindowPlace {
    int left;
    int top;
    int width;
    int height;
};

// Plain values, held as read: an unusual number is kept until the Options
// dialog's OK stores 0 or 1 in its place. The optional ones are absent from
// the file until the user first changes them, and written back only then.
struct Settings {
    int Autoscroll = 1;
    int ToDisplay = 1;
    int ToFile = 0;
    wchar_t FileName[MAX_PATH] = {};
    int Colours = 1;  // rows drawn in their severity's colours
    size_t KeepRows = kDefaultKeepRows;
    ColumnLayout Columns;  // the Message list's, as the list last had them
    std::optional<int> StatusBar;  // shown when non-zero; absent: not shown
    std::optional<WindowPlace> TrafficWindow;  // absent: where the system puts it

    // Reads every option from the INI file; what is missing takes its default,
    // and a number of rows to keep or columns that cannot be read are reported and take it too.
    void Load(const wchar_t* iniPath);
    // Writes every option to the INI file, in a fixed order, the optional
    // ones when present; a failed write is not detected. The columns are
    // written only when other columns, or their order or widths, were chosen
    // in the run, so a value that could not be read stays as it was.
    void Save(const wchar_t* iniPath) const;

private:
    ColumnLayout columnsRead_;
};

}  // namespace settings
