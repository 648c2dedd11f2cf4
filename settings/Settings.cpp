// Settings.cpp: reading the options from the INI file and writing them back.
#include "settings/Settings.h"

#include <cwchar>

namespace settings {

namespace {

const wchar_t kSection[] = L"Settings";
constexpr size_t kNumberTextCapacity = 64;

int ReadNumber(const wchar_t* iniPath, const wchar_t* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntW(kSection, key, defaultValue, iniPath));
}

void WriteNumber(const wchar_t* iniPath, const wchar_t* key, int value) {
    wchar_t text[kNumberTextCapacity];
    _itow(value, text, 10);
    WritePrivateProfileStringW(kSection, key, text, iniPath);
}

}  // namespace

void Settings::Load(const wchar_t* iniPath) {
    Autoscroll = ReadNumber(iniPath, L"Autoscroll", 1);
    ToDisplay = ReadNumber(iniPath, L"ToDisplay", 1);
    ToFile = ReadNumber(iniPath, L"ToFile", 0);
    GetPrivateProfileStringW(kSection, L"FileName", L"", FileName, MAX_PATH, iniPath);
    Colours = ReadNumber(iniPath, L"Colours", 1);
}

void Settings::Save(const wchar_t* iniPath) const {
    WriteNumber(iniPath, L"Autoscroll", Autoscroll);
    WriteNumber(iniPath, L"ToDisplay", ToDisplay);
    WriteNumber(iniPath, L"ToFile", ToFile);
    WritePrivateProfileStringW(kSection, L"FileName", FileName, iniPath);
    WriteNumber(iniPath, L"Colours", Colours);
}

}  // namespace settings
