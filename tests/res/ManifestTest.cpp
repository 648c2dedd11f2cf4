// ManifestTest.cpp: the application manifest, read back from the built program's file
// as the system's loader finds it (resource 1 of type RT_MANIFEST).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/res/ProgramFile.h"

namespace {

const LPCWSTR kManifestType = MAKEINTRESOURCEW(24);  // RT_MANIFEST in its wide form

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}

class Manifest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(program_file::Path().empty()) << "MONITOR_EXE does not name the program";
        module_ = program_file::OpenAsDataFile();
        ASSERT_TRUE(module_) << "cannot open the program as a data file, error " << GetLastError();
        const std::vector<BYTE> raw = program_file::ResourceBytes(module_.get(), MAKEINTRESOURCEW(1), kManifestType);
        ASSERT_FALSE(raw.empty()) << "no manifest resource 1";
        // Layout is not meaning: every run of white space reads as one space.
        for (const BYTE byte : raw) {
            const char c = static_cast<char>(byte);
            const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
            if (!space)
                text_ += c;
            else if (!text_.empty() && text_.back() != ' ')
                text_ += ' ';
        }
    }

    bool Holds(const std::string& piece) const { return text_.find(piece) != std::string::npos; }

    program_file::Module module_;
    std::string text_;
};

TEST_F(Manifest, IsTheProgramsOnlyManifest) {
    std::vector<ULONG_PTR> names;
    EnumResourceNamesW(module_.get(), kManifestType, CollectName, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_EQ(std::vector<ULONG_PTR>{1}, names);
    EXPECT_EQ(0u, text_.find("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>")) << text_;
}

TEST_F(Manifest, AsksForCommonControls6) {
    EXPECT_TRUE(Holds("<assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
                      "version=\"6.0.0.0\" processorArchitecture=\"*\" "
                      "publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"))
        << text_;
}

TEST_F(Manifest, IsAwareOfEachMonitorsDpiAndElseOfTheSystems) {
    EXPECT_TRUE(Holds("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"));
    EXPECT_TRUE(Holds("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                      "PerMonitorV2, System</dpiAwareness>"));
}

TEST_F(Manifest, NamesVistaTo11AndRunsAsInvoker) {
    const char* const supported[] = {
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    for (const char* id : supported) EXPECT_TRUE(Holds(std::string("<supportedOS Id=\"") + id + "\"/>")) << id;
    EXPECT_TRUE(Holds("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
}

}  // namespace
