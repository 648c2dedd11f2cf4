// VersionBlockTest.cpp: the version block, read back from the built program's file
// as Explorer's properties page reads it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/res/ProgramFile.h"

namespace {

constexpr WORD kMajor = 1;
constexpr WORD kMinor = 0;
constexpr WORD kPatch = 0;
constexpr WORD kBuild = 1;
const wchar_t kVersionText[] = L"1.0.0.1";
const wchar_t kDescription[] = L"Kelv SysLog Monitor";

struct Translation {
    WORD language;
    WORD codePage;
};

class VersionBlock : public testing::Test {
protected:
    void SetUp() override {
        const std::wstring path = program_file::Path();
        ASSERT_FALSE(path.empty()) << "MONITOR_EXE does not name the program";
        DWORD unused = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
        ASSERT_NE(0u, size) << "no version block in the program, error " << GetLastError();
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block_.data()));
    }

    // The value under path in the block, or nullptr; length is its length as the block gives it.
    const void* Value(const std::wstring& path, UINT& length) {
        void* value = nullptr;
        length = 0;
        if (!VerQueryValueW(block_.data(), path.c_str(), &value, &length)) return nullptr;
        return value;
    }

    // A string of the block's first translation, or "(none)" when it is missing.
    std::wstring Text(const wchar_t* name) {
        UINT length = 0;
        const auto* translation = static_cast<const Translation*>(Value(L"\\VarFileInfo\\Translation", length));
        if (!translation || length < sizeof(Translation)) return L"(no translation)";
        wchar_t table[16];
        std::swprintf(table, sizeof table / sizeof table[0], L"%04x%04x", translation->language,
                      translation->codePage);
        const std::wstring path = L"\\StringFileInfo\\" + std::wstring(table) + L"\\" + name;
        const auto* text = static_cast<const wchar_t*>(Value(path, length));
        return text ? std::wstring(text) : L"(none)";
    }

    std::vector<BYTE> block_;
};

TEST_F(VersionBlock, FixedPartGivesFileAndProductVersion1_0_0_1) {
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Value(L"\\", length));
    ASSERT_NE(nullptr, fixed);
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(static_cast<DWORD>(VS_FFI_SIGNATURE), fixed->dwSignature);

    EXPECT_EQ(kMajor, HIWORD(fixed->dwFileVersionMS));
    EXPECT_EQ(kMinor, LOWORD(fixed->dwFileVersionMS));
    EXPECT_EQ(kPatch, HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(kBuild, LOWORD(fixed->dwFileVersionLS));

    EXPECT_EQ(kMajor, HIWORD(fixed->dwProductVersionMS));
    EXPECT_EQ(kMinor, LOWORD(fixed->dwProductVersionMS));
    EXPECT_EQ(kPatch, HIWORD(fixed->dwProductVersionLS));
    EXPECT_EQ(kBuild, LOWORD(fixed->dwProductVersionLS));

    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

TEST_F(VersionBlock, StringsGiveTheDescriptionAndBothVersions) {
    EXPECT_EQ(kDescription, Text(L"FileDescription"));
    EXPECT_EQ(kVersionText, Text(L"FileVersion"));
    EXPECT_EQ(kVersionText, Text(L"ProductVersion"));
}

}  // namespace
