// Settings.cpp: reading the options from the INI file and writing them back.
#include "settings/Settings.h"

#include <cwchar>

#include "diag/DiagnosticReporter.h"
#include "win/LocaleNumber.h"

namespace settings {

namespace {

const wchar_t kKeepRowsKey[] = L"KeepRows";
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

}  // namespace

void Settings::Load(const wchar_t* iniPath) {
    Autoscroll = ReadNumber(iniPath, L"Autoscroll", 1);
    ToDisplay = ReadNumber(iniPath, L"ToDisplay", 1);
    ToFile = ReadNumber(iniPath, L"ToFile", 0);
    GetPrivateProfileStringW(kSettingsSection, L"FileName", L"", FileName, MAX_PATH, iniPath);
    Colours = ReadNumber(iniPath, L"Colours", 1);
    KeepRows = ReadKeepRows(iniPath);
    Columns = columnsRead_ = ReadColumnLayout(iniPath);
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
}

}  // namespace settings
