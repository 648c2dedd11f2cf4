// IniPathTest.cpp: where the INI file lies for a given executable path.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "settings/IniPath.h"

namespace {

// The INI path, made in a buffer that is followed by a guard which must stay untouched.
struct GuardedPath {
    wchar_t path[MAX_PATH];
    wchar_t guard[8];
};

std::wstring IniPathFor(const std::wstring& executable) {
    GuardedPath made;
    wmemset(made.path, L'#', MAX_PATH);
    wmemset(made.guard, L'#', 8);
    settings::MakeIniPath(executable.c_str(), made.path);
    EXPECT_EQ(std::wstring(8, L'#'), std::wstring(made.guard, 8)) << "written past the buffer";
    return std::wstring(made.path, wcsnlen(made.path, MAX_PATH));
}

// From the last dot on the path is replaced by ".INI", though that dot be in a
// folder's name; a path without any dot gets ".INI" added, so the INI file is
// never the program itself.
TEST(IniPath, TheExtensionIsReplacedByIniOrIniIsAdded) {
    const struct {
        const wchar_t* executable;
        const wchar_t* ini;
    } cases[] = {
        {L"C:\\Tools\\Monitor.exe", L"C:\\Tools\\Monitor.INI"},
        {L"C:\\my.tools\\Monitor", L"C:\\my.INI"},
        {L"C:\\Tools\\Monitor", L"C:\\Tools\\Monitor.INI"},
    };
    for (const auto& test : cases) EXPECT_EQ(test.ini, IniPathFor(test.executable));
}

TEST(IniPath, PathAtTheLengthLimitStaysWithinTheBufferAndEndsWithIni) {
    const std::wstring shortExtension = L"C:\\" + std::wstring(254, L'a') + L".x";  // 259 characters
    const std::wstring noExtension = L"C:\\" + std::wstring(256, L'b');
    for (const std::wstring& executable : {shortExtension, noExtension}) {
        ASSERT_EQ(259u, executable.size());
        const std::wstring ini = IniPathFor(executable);
        EXPECT_LE(ini.size(), MAX_PATH - 1);
        EXPECT_EQ(L".INI", ini.substr(ini.size() - 4));
        EXPECT_NE(executable, ini);
    }
}

}  // namespace
