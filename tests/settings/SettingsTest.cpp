// SettingsTest.cpp: the options and the watch rules a run reads from its INI file and writes back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/WatchRulesFile.h"
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
    // Watch rules left alone in a run stay as written, lines no rule and comments included.
    const std::string ini = testing_support::SettingsSection(
        {{"Autoscroll", "7"}, {"ToDisplay", "-3"}, {"ToFile", "2147483647"}, {"FileName", capture}, {"Colours", "-5"}}) +
        "[WatchRules]\r\n; kept by hand\r\nRule2=name=a;show=x;hide=;case=0;severity=any;senders=;hidesenders=0;"
        "text=list;background=list;mark=1;flash=0;notify=0;beep=0\r\nno equals sign\r\n";
    RunningMainWindow main(ini);
    const settings::Settings& options = *main.Window().Settings();
    EXPECT_EQ(7, options.Autoscroll);
    EXPECT_EQ(-3, options.ToDisplay);
    EXPECT_EQ(2147483647, options.ToFile);
    EXPECT_EQ(-5, options.Colours);
    EXPECT_TRUE(main.Window().CaptureFileOpen());
    EXPECT_EQ(1u, main.Window().Messages().Rules().Count());
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

// The watch rules' section, read and written as at start and exit, around [Settings].

const char kSettings[] = "[Settings]\r\nAutoscroll=1\r\nToDisplay=1\r\nToFile=0\r\nFileName=\r\nColours=0\r\n";

std::string RuleValue(const std::string& name) {
    return "name=" + name + ";show=link down;hide=;case=0;severity=3;senders=10.0.0.9;hidesenders=0;"
           "text=list;background=#8B0000;mark=1;flash=0;notify=1;beep=0";
}

records::CountedRule Rule(const std::string& name) {
    records::CountedRule counted;
    counted.rule.name = name;
    counted.rule.conditions.showText = "link down";
    counted.rule.conditions.lowestSeverity = 3;
    counted.rule.conditions.senders = {9u << 24 | 10u};
    counted.rule.backgroundColour = 0x0000008B;
    counted.rule.mark = counted.rule.notify = true;
    return counted;
}

std::vector<std::string> Names(const std::vector<records::CountedRule>& rules) {
    std::vector<std::string> names;
    for (const records::CountedRule& counted : rules) names.push_back(counted.rule.name);
    return names;
}

// As a run meets them: read at start, lines it cannot read told in the pane, written back at exit.
TEST(WatchRulesFile, KeepsTheLinesItCannotReadUnderTheirKeysAndRenumbersTheRulesAroundThem) {
    const std::string cut = "name=cut;show=li";
    RunningMainWindow main(std::string(kSettings) + "[WatchRules]\r\n" +
                           "Rule1=" + RuleValue("first") + "\r\n" +
                           "Rule2=" + RuleValue("x") + ";sound=1\r\n" +
                           "Note=" + RuleValue("misnamed") + "\r\n" +
                           "Rule3=" + cut + "\r\n" +
                           "rule7=" + RuleValue("second") + "\r\n");
    std::vector<records::CountedRule> rules = main.Window().Messages().Rules().Rules();
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), Names(rules));
    const HWND pane = main.Window().DiagnosticsPane();
    PumpUntil([&] { return PaneText(pane).size() > 200; });
    EXPECT_EQ("Cannot read watch rule Rule2 in the INI file (unknown field \"sound\"); it is kept as written\n"
              "Cannot read watch rule Note in the INI file (key not of the form Rule<n>); it is kept as written\n"
              "Cannot read watch rule Rule3 in the INI file (field \"hide\" missing); it is kept as written\n",
              PaneText(pane));

    // A rule added in the run: the numbers 2 and 3 stay with the lines that hold them. The
    // file has them at OK, so a run that is killed instead of closed keeps them; exit writes the same.
    rules.push_back(Rule("third"));
    main.Window().SetWatchRules(rules);
    const std::string written = std::string(kSettings) + "[WatchRules]\r\n" +
                                "Rule1=" + RuleValue("first") + "\r\n" +
                                "Rule4=" + RuleValue("second") + "\r\n" +
                                "Rule5=" + RuleValue("third") + "\r\n" +
                                "Rule2=" + RuleValue("x") + ";sound=1\r\n" +
                                "Note=" + RuleValue("misnamed") + "\r\n" +
                                "Rule3=" + cut + "\r\n";
    EXPECT_EQ(written, ReadFileBytes(main.IniPath()));
    main.Close();
    EXPECT_EQ(written, ReadFileBytes(main.IniPath()));
}

TEST(WatchRulesFile, ALineWithoutAnEqualsSignIsNotARule) {
    TempFolder files;
    const std::wstring ini = files.File(L"monitor.INI");
    WriteFileBytes(ini, std::string(kSettings) + "[WatchRules]\r\nRule1\r\n");
    records::WatchRulesFile file;
    EXPECT_TRUE(file.Read(ini.c_str()).empty());
    ASSERT_EQ(1u, file.Kept().size());
    EXPECT_EQ(L"Rule1", file.Kept()[0].key);
    EXPECT_EQ(L"Rule1", file.Kept()[0].line);
    EXPECT_EQ(L"no \"=\" after the key", file.Kept()[0].why);
}

TEST(WatchRulesFile, KeepsTheRulesPast64AsWritten) {
    TempFolder files;
    const std::wstring ini = files.File(L"monitor.INI");
    std::string bytes = std::string(kSettings) + "[WatchRules]\r\n";
    for (int n = 1; n <= 66; ++n) bytes += "Rule" + std::to_string(n) + "=" + RuleValue("r" + std::to_string(n)) + "\r\n";
    WriteFileBytes(ini, bytes);

    records::WatchRulesFile file;
    const std::vector<records::CountedRule> rules = file.Read(ini.c_str());
    ASSERT_EQ(64u, rules.size());
    EXPECT_EQ("r64", rules.back().rule.name);
    ASSERT_EQ(2u, file.Kept().size());
    EXPECT_EQ(L"Rule65", file.Kept()[0].key);
    EXPECT_EQ(L"more than 64 rules", file.Kept()[0].why);
    EXPECT_EQ(L"Rule66", file.Kept()[1].key);

    file.Write(ini.c_str(), rules);
    EXPECT_EQ(bytes, ReadFileBytes(ini));
}

TEST(WatchRulesFile, WithoutRulesTheSectionGoesAndIsNeverMade) {
    TempFolder files;
    const std::wstring ini = files.File(L"monitor.INI");
    const std::string withRules = std::string(kSettings) + "[WatchRules]\r\nRule1=" + RuleValue("only") + "\r\n";
    WriteFileBytes(ini, withRules);
    records::WatchRulesFile file;
    EXPECT_EQ(1u, file.Read(ini.c_str()).size());
    file.Write(ini.c_str(), {});
    EXPECT_EQ(kSettings, ReadFileBytes(ini));

    // Read and written again without rules, the file keeps its bytes; with one, the section follows [Settings].
    EXPECT_TRUE(file.Read(ini.c_str()).empty());
    file.Write(ini.c_str(), {});
    EXPECT_EQ(kSettings, ReadFileBytes(ini));
    file.Write(ini.c_str(), {Rule("only")});
    EXPECT_EQ(withRules, ReadFileBytes(ini));

    const std::wstring missing = files.File(L"missing.INI");
    EXPECT_TRUE(file.Read(missing.c_str()).empty());
    file.Write(missing.c_str(), {});
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(missing.c_str()));
}

}  // namespace
