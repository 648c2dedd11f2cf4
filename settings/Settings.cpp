// Settings.cpp: reading the options from the INI file and writing them back.
#include "settings/Settings.h"

#include <cwchar>

namespace settings {

namespace {

const wchar_t kSection[] = L"Settings";
constexpr size_t kNumberTextCapacity = 64;

void WriteNumber(const wchar_t* iniPath, const wchar_t* key, int value) {
    wchar_t text[kNumberTextCapacity];
    _itow(value, text, 10);
    WritePrivateProfileStringW(kSection, key, text, iniPath);
}

}  // namespace

Settings::Settings(const wchar_t* iniPath) {
    wcsncpy(iniPath_, iniPath, kPathCapacity - 1);
    iniPath_[kPathCapacity - 1] = L'\0';

    Autoscroll = static_cast<int>(GetPrivateProfileIntW(kSection, L"Autoscroll", 1, iniPath_));
    ToDisplay = static_cast<int>(GetPrivateProfileIntW(kSection, L"ToDisplay", 1, iniPath_));
    ToFile = static_cast<int>(GetPrivateProfileIntW(kSection, L"ToFile", 0, iniPath_));
    GetPrivateProfileStringW(kSection, L"FileName", L"", FileName, kPathCapacity, iniPath_);
    Colours = static_cast<int>(GetPrivateProfileIntW(kSection, L"Colours", 1, iniPath_));
}

Settings::~Settings() {
    WriteNumber(iniPath_, L"Autoscroll", Autoscroll);
    WriteNumber(iniPath_, L"ToDisplay", ToDisplay);
    WriteNumber(iniPath_, L"ToFile", ToFile);
    WritePrivateProfileStringW(kSection, L"FileName", FileName, iniPath_);
    WriteNumber(iniPath_, L"Colours", Colours);
}

}  // namespace settings
