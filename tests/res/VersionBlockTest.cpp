// VersionBlockTest.cpp: the version block, read back from the built program's file
// as Explorer's properties page reads it, against the version the release is named by.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/res/ProgramFile.h"

namespace {

struct Translation {
    WORD language;
    WORD codePage;
};

// The value under path in the block, or nullptr.
const void* Value(std::vector<BYTE>& block, const std::wstring& path, UINT& length) {
    void* value = nullptr;
    length = 0;
    return VerQueryValueW(block.data(), path.c_str(), &value, &length) ? value : nullptr;
}

// A string of the block's first translation, or "(none)".
std::wstring Text(std::vector<BYTE>& block, const wchar_t* name) {
    UINT length = 0;
    const auto* translation = static_cast<const Translation*>(Value(block, L"\\VarFileInfo\\Translation", length));
    if (!translation || length < sizeof(Translation)) return L"(no translation)";
    wchar_t table[16];
    std::swprintf(table, sizeof table / sizeof table[0], L"%04x%04x", translation->language, translation->codePage);
    const auto* text = static_cast<const wchar_t*>(Value(block, L"\\StringFileInfo\\" + std::wstring(table) + L"\\" + name, length));
    return text ? std::wstring(text) : L"(none)";
}

std::wstring Dotted(DWORD high, DWORD low) {
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." + std::to_wstring(HIWORD(low)) +
           L"." + std::to_wstring(LOWORD(low));
}

// Both versions, in numbers and in words, are the one the release archive is named after.
TEST(VersionBlock, NamesTheReleasesVersionInNumbersAndInWords) {
    wchar_t release[32] = {};
    GetEnvironmentVariableW(L"MONITOR_RELEASE_VERSION", release, sizeof release / sizeof release[0]);
    const std::wstring version = release;
    ASSERT_FALSE(version.empty()) << "MONITOR_RELEASE_VERSION does not name the release's version";
    const std::wstring path = program_file::Path();
    ASSERT_FALSE(path.empty()) << "MONITOR_EXE does not name the program";
    DWORD unused = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), &unused));
    ASSERT_FALSE(block.empty()) << "no version block in the program, error " << GetLastError();
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Value(block, L"\\", length));
    ASSERT_TRUE(fixed && length == sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), fixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(version, Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    EXPECT_EQ(version, Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    EXPECT_EQ(version, Text(block, L"FileVersion"));
    EXPECT_EQ(version, Text(block, L"ProductVersion"));
    EXPECT_NE(L"(none)", Text(block, L"FileDescription"));
}

}  // namespace
