// Settings.cpp: reading the options from the INI file and writing them back.
#include "settings/Settings.h"

#include <cstdio>
#include <cwchar>

#include "diag/DiagnosticReporter.h"
#include "win/LocaleNumber.h"

namespace settings {

namespace {

const wchar_t kKeepRowsKey[] = L"KeepRows";
const wchar_t kStatusBarKey[] = L"StatusBar";
const wchar_t kTrafficWindowKey[] = L"TrafficWindow";
constexpr size_t kNumberTextCapacity = 64;

int ReadNumber(const wchar_t* iniPath, const wchar_t* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntW(kSettingsSection, key, defaultValue, iniPath));
}

void WriteNumber(const wchar_t* iniPath, const wchar_t* key, int value) {
    wchar_t text[kNumberTextCapacity];
    _itow(value, text, 10);
    WritePrivateProfileStringW(kSettingsSection, key, text, iniPath);
}

// Plain digits, as they are written; absent, the default.
size_t ReadKeepRows(const wchar_t* iniPath) {
    wchar_t text[kNumberTextCapacity] = {};
    GetPrivateProfileStringW(kSettingsSection, kKeepRowsKey, L"", text, kNumberTextCapacity, iniPath);
    if (!text[0]) return kDefaultKeepRows;
    size_t rows = 0;
    const wchar_t* end = text;
    while (*end >= L'0' && *end <= L'9') ++end;
    if (*end == L'\0' && end - text <= 9) rows = static_cast<size_t>(std::wcstoul(text, nullptr, 10));
    if (rows >= kFewestKeptRows && rows <= kMostKeptRows) return rows;
    wchar_t fewest[win::kGroupedCountCapacity];
    wchar_t most[win::kGroupedCountCapacity];
    wchar_t kept[win::kGroupedCountCapacity];
    win::FormatGroupedCount(kFewestKeptRows, fewest);
    win::FormatGroupedCount(kMostKeptRows, most);
    win::FormatGroupedCount(kDefaultKeepRows, kept);
    diag::Report(S_OK, L"Cannot read KeepRows=%ls in the INI file (a number from %ls to %ls): the list keeps the newest %ls rows\n",
                 text, fewest, most, kept);
    return kDefaultKeepRows;
}

// Absent when the key is missing or empty.
std::optional<int> ReadOptionalNumber(const wchar_t* iniPath, const wchar_t* key) {
    wchar_t text[kNumberTextCapacity] = {};
    GetPrivateProfileStringW(kSettingsSection, key, L"", text, kNumberTextCapacity, iniPath);
    if (!text[0]) return std::nullopt;
    return ReadNumber(iniPath, key, 0);
}

// "left,top,width,height" in pixels, as it is written; anything else is reported and left in the file.
std::optional<WindowPlace> ReadWindowPlace(const wchar_t* iniPath, const wchar_t* key) {
    wchar_t text[kNumberTextCapacity] = {};
    GetPrivateProfileStringW(kSettingsSection, key, L"", text, kNumberTextCapacity, iniPath);
    if (!text[0]) return std::nullopt;
    WindowPlace place{};
    wchar_t after = L'\0';
    if (std::swscanf(text, L"%d,%d,%d,%d%lc", &place.left, &place.top, &place.width, &place.height, &after) == 4 &&
        place.width > 0 && place.height > 0)
        return place;
    diag::Report(S_OK, L"Cannot read %ls=%ls in the INI file (left,top,width,height in pixels): the window opens "
                       L"where the system puts it\n",
                 key, text);
    return std::nullopt;
}

void WriteWindowPlace(const wchar_t* iniPath, const wchar_t* key, const WindowPlace& place) {
    wchar_t text[kNumberTextCapacity];
    std::swprintf(text, kNumberTextCapacity, L"%d,%d,%d,%d", place.left, place.top, place.width, place.height);
    WritePrivateProfileStringW(kSettingsSection, key, text, iniPath);
}

}  // namespace

void Settings::Load(const wchar_t* iniPath) {
    Autoscroll = ReadNumber(iniPath, L"Autoscroll", 1);
    ToDisplay = ReadNumber(iniPath, L"ToDisplay", 1);
    ToFile = ReadNumber(iniPath, L"ToFile", 0);
    GetPrivateProfileStringW(kSettingsSection, L"FileName", L"", FileName, MAX_PATH, iniPath);
    Colours = ReadNumber(iniPath, L"Colours", 1);
    KeepRows = ReadKeepRows(iniPath);
    Columns = columnsRead_ = ReadColumnLayout(iniPath);
    StatusBar = ReadOptionalNumber(iniPath, kStatusBarKey);
    TrafficWindow = ReadWindowPlace(iniPath, kTrafficWindowKey);
}

void Settings::Save(const wchar_t* iniPath) const {
    WriteNumber(iniPath, L"Autoscroll", Autoscroll);
    WriteNumber(iniPath, L"ToDisplay", ToDisplay);
    WriteNumber(iniPath, L"ToFile", ToFile);
    WritePrivateProfileStringW(kSettingsSection, L"FileName", FileName, iniPath);
    WriteNumber(iniPath, L"Colours", Colours);
    WriteNumber(iniPath, kKeepRowsKey, static_cast<int>(KeepRows));
    // A plain list's widths are not kept, as they never were.
    const bool columnsChanged =
        Columns.IsPlain() != columnsRead_.IsPlain() || (!Columns.IsPlain() && Columns != columnsRead_);
    if (columnsChanged) WriteColumnLayout(iniPath, Columns);
    if (StatusBar) WriteNumber(iniPath, kStatusBarKey, *StatusBar);
    if (TrafficWindow) WriteWindowPlace(iniPath, kTrafficWindowKey, *TrafficWindow);
}

}  // namespace settings
