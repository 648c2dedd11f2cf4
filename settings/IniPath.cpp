// IniPath.cpp: the INI file's name from the executable's.
#include "settings/IniPath.h"

#include <windows.h>

#include <cwchar>

namespace settings {

namespace {
const wchar_t kIniExtension[] = L".INI";
constexpr size_t kIniExtensionLength = 4;
}  // namespace

void MakeIniPath(const wchar_t* executablePath, wchar_t (&iniPath)[MAX_PATH]) {
    const size_t length = wcsnlen(executablePath, MAX_PATH - 1);
    wmemcpy(iniPath, executablePath, length);
    iniPath[length] = L'\0';

    const wchar_t* lastDot = wcsrchr(iniPath, L'.');
    size_t extensionAt = lastDot ? static_cast<size_t>(lastDot - iniPath) : length;
    const size_t lastFit = MAX_PATH - 1 - kIniExtensionLength;
    if (extensionAt > lastFit) extensionAt = lastFit;
    wmemcpy(iniPath + extensionAt, kIniExtension, kIniExtensionLength + 1);
}

void IniPathOfThisProgram(wchar_t (&iniPath)[MAX_PATH]) {
    wchar_t executablePath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, executablePath, MAX_PATH);
    executablePath[MAX_PATH - 1] = L'\0';
    MakeIniPath(executablePath, iniPath);
}

}  // namespace settings
