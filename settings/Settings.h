// Settings.h: the options kept in the INI file, read and written when asked.
#pragma once

#include <windows.h>

namespace settings {

// Plain values, held as read: an unusual number is kept until the Options
// dialog's OK stores 0 or 1 in its place.
struct Settings {
    int Autoscroll = 1;
    int ToDisplay = 1;
    int ToFile = 0;
    wchar_t FileName[MAX_PATH] = {};
    int Colours = 1;  // rows drawn in their severity's colours

    // Reads every option from the INI file; what is missing takes its default.
    void Load(const wchar_t* iniPath);
    // Writes every option to the INI file, in a fixed order; a failed write is not detected.
    void Save(const wchar_t* iniPath) const;
};

}  // namespace settings
