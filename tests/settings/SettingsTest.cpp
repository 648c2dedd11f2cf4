// SettingsTest.cpp: the options a run reads from its INI file and writes back.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

TEST(Settings, FirstStartUsesTheDefaultsAndWritesThemBack) {
    RunningMainWindow main;
    const settings::Settings& options = *main.Window().Settings();
    EXPECT_EQ(1, options.Autoscroll);
    EXPECT_EQ(1, options.ToDisplay);
    EXPECT_EQ(0, options.ToFile);
    EXPECT_STREQ(L"", options.FileName);
    EXPECT_EQ(1, options.Colours);
    EXPECT_FALSE(main.Window().CaptureFileOpen());
    main.Close();

    // The four keys come first, as they always did; Colours (on) follows them.
    EXPECT_EQ("[Settings]\r\nAutoscroll=1\r\nToDisplay=1\r\nToFile=0\r\nFileName=\r\nColours=1\r\n",
              ReadFileBytes(main.IniPath()));
}

TEST(Settings, UnusualValuesAreKeptAsTheyWere) {
    TempFolder files;
    const std::wstring capturePath = files.File(L"capture.csv");
    const std::string capture(capturePath.begin(), capturePath.end());
    const std::string ini = testing_support::SettingsSection(
        {{"Autoscroll", "7"}, {"ToDisplay", "-3"}, {"ToFile", "2147483647"}, {"FileName", capture}, {"Colours", "-5"}});
    RunningMainWindow main(ini);
    const settings::Settings& options = *main.Window().Settings();
    EXPECT_EQ(7, options.Autoscroll);
    EXPECT_EQ(-3, options.ToDisplay);
    EXPECT_EQ(2147483647, options.ToFile);
    EXPECT_EQ(-5, options.Colours);
    EXPECT_TRUE(main.Window().CaptureFileOpen());
    main.Close();

    EXPECT_EQ(ini, ReadFileBytes(main.IniPath()));
}

TEST(Settings, FileNameLongerThan259CharactersIsCut) {
    const std::string longName = "C:\\" + std::string(297, 'n');
    RunningMainWindow main(testing_support::SettingsSection({{"ToFile", "0"}, {"FileName", longName}}));
    const std::wstring expected(longName.begin(), longName.begin() + 259);
    EXPECT_EQ(expected, main.Window().Settings()->FileName);
    main.Close();

    const std::string written = ReadFileBytes(main.IniPath());
    EXPECT_NE(std::string::npos, written.find("FileName=" + longName.substr(0, 259) + "\r\n")) << written;
}

}  // namespace
