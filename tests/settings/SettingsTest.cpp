// SettingsTest.cpp: the options and the watch rules a run reads from its INI file and writes back.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "records/WatchRulesFile.h"
#include "res/resource.h"
#include "tests/list/RecordFeed.h"
#include "tests/support/TestSupport.h"
#include "win/Dpi.h"

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
    // A wider Details column of the plain list is not kept, as it never was: no Columns keys.
    ListView_SetColumnWidth(main.Window().MessageList(), 1, 500);
    main.Close();

    // The four keys come first, as they always did; Colours (on) and the rows kept follow them.
    EXPECT_EQ("[Settings]\r\nAutoscroll=1\r\nToDisplay=1\r\nToFile=0\r\nFileName=\r\nColours=1\r\nKeepRows=1000000\r\n",
              ReadFileBytes(main.IniPath()));
}

TEST(Settings, UnusualValuesAreKeptAsTheyWere) {
    TempFolder files;
    const std::wstring capturePath = files.File(L"capture.csv");
    const std::string capture(capturePath.begin(), capturePath.end());
    // Watch rules left alone in a run stay as written, lines no rule and comments included.
    const std::string ini = testing_support::SettingsSection(
        {{"Autoscroll", "7"}, {"ToDisplay", "-3"}, {"ToFile", "2147483647"}, {"FileName", capture}, {"Colours", "-5"},
         {"KeepRows", "2500"}, {"StatusBar", "7"}, {"TrafficWindow", "-20,5,640,480"}}) +
        "[WatchRules]\r\n; kept by hand\r\nRule2=name=a;show=x;hide=;case=0;severity=any;senders=;hidesenders=0;"
        "text=list;background=list;mark=1;flash=0;notify=0;beep=0\r\nno equals sign\r\n";
    RunningMainWindow main(ini);
    const settings::Settings& options = *main.Window().Settings();
    EXPECT_EQ(7, options.Autoscroll);
    EXPECT_EQ(-3, options.ToDisplay);
    EXPECT_EQ(2147483647, options.ToFile);
    EXPECT_EQ(-5, options.Colours);
    EXPECT_EQ(2500u, main.Window().Book().KeepRows());
    EXPECT_TRUE(main.Window().CaptureFileOpen());
    EXPECT_EQ(1u, main.Window().Book().Rules().Count());
    EXPECT_EQ(7, options.StatusBar);
    EXPECT_TRUE(main.Window().Status().IsShown());
    main.Close();

    EXPECT_EQ(ini, ReadFileBytes(main.IniPath()));
}

// A window's place that cannot be read is told of, the window opens where the system puts it, and the line stays.
TEST(Settings, AnUnreadableWindowPlaceIsToldOfAndKeptAsItWas) {
    const std::string ini = testing_support::SettingsSection({{"TrafficWindow", "10,20,abc"}});
    RunningMainWindow main(ini);
    EXPECT_FALSE(main.Window().Settings()->TrafficWindow);
    EXPECT_EQ("Cannot read TrafficWindow=10,20,abc in the INI file (left,top,width,height in pixels): the window "
              "opens where the system puts it\n",
              PaneText(main.Window().DiagnosticsPane()));
    main.Close();
    const std::string written = ReadFileBytes(main.IniPath());
    EXPECT_NE(std::string::npos, written.find("\r\nTrafficWindow=10,20,abc\r\n")) << written;
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

// The list's columns as they are kept in [Settings].

const char kPlainSettings[] =
    "[Settings]\r\nAutoscroll=1\r\nToDisplay=1\r\nToFile=0\r\nFileName=\r\nColours=1\r\nKeepRows=1000000\r\n";

int ColumnCount(HWND list) {
    return static_cast<int>(SendMessageA(ListView_GetHeader(list), HDM_GETITEMCOUNT, 0, 0));
}

// The number the control gives the column with the header, wherever it is shown.
int Column(HWND list, const std::string& header) {
    for (int index = 0; index < ColumnCount(list); ++index)
        if (ColumnHeader(list, index) == header) return index;
    return -1;
}

DWORD ExtendedStyle(HWND list) {
    return static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

void Choose(RunningMainWindow& main, WORD command) {
    SendMessageA(main.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

constexpr DWORD kPlainStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;

// Chosen, dragged to another order and widened, the columns come back so in
// the next run; with the last optional one hidden the keys go, and the list
// is as it always was.
TEST(Columns, ChosenReorderedAndWidenedAreKeptAcrossARestartAndGoWithTheLastOptionalOne) {
    std::string kept;
    {
        RunningMainWindow main;
        const HWND list = main.Window().MessageList();
        if (win::WindowDpi(list) != win::kDesignDpi) GTEST_SKIP() << "the screen is not at 96 DPI";
        EXPECT_EQ(kPlainStyle, ExtendedStyle(list));
        Choose(main, ID_COLUMN_HOST);
        Choose(main, ID_COLUMN_RECEIVED);
        EXPECT_EQ((std::vector<std::string>{"From", "Host", "Received", "Details"}), ColumnHeaders(list));
        EXPECT_EQ(kPlainStyle | LVS_EX_HEADERDRAGDROP, ExtendedStyle(list));
        // As a drag of the header leaves them: Received first; then Host made wider.
        const int dragged[] = {Column(list, "Received"), Column(list, "From"), Column(list, "Host"),
                               Column(list, "Details")};
        ListView_SetColumnOrderArray(list, 4, dragged);
        ListView_SetColumnWidth(list, Column(list, "Host"), 150);
        main.Close();
        kept = ReadFileBytes(main.IniPath());
        EXPECT_EQ(std::string(kPlainSettings) + "Columns=Received,From,Host,Details\r\nColumnWidths=130,75,150,800\r\n",
                  kept);
    }
    RunningMainWindow main(kept);
    const HWND list = main.Window().MessageList();
    EXPECT_EQ((std::vector<std::string>{"Received", "From", "Host", "Details"}), ColumnHeaders(list));
    EXPECT_EQ(150, ListView_GetColumnWidth(list, Column(list, "Host")));
    EXPECT_EQ(kPlainStyle | LVS_EX_HEADERDRAGDROP, ExtendedStyle(list));
    PostRecord(main.Window(), "<38>Oct 11 22:14:15 web01 sshd[42]: accepted");
    HandlePostedMessages();
    EXPECT_EQ("10.1.2.3", CellText(list, 0, 0));
    EXPECT_EQ("<38>Oct 11 22:14:15 web01 sshd[42]: accepted", CellText(list, 0, 1)) << "the probe's columns stay";
    EXPECT_EQ("web01", CellText(list, 0, Column(list, "Host")));
    EXPECT_EQ(12u, CellText(list, 0, Column(list, "Received")).size()) << "hh:mm:ss.mmm today";
    // Another day's row shows its date too.
    net::RecordPtr earlier = MakeRecord("earlier");
    const SYSTEMTIME local{2024, 2, 0, 29, 5, 37, 27, 123};
    SYSTEMTIME universal;
    FILETIME at;
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal);
    SystemTimeToFileTime(&universal, &at);
    earlier->receivedAt = (static_cast<std::uint64_t>(at.dwHighDateTime) << 32) | at.dwLowDateTime;
    DeliverRecord(main.Window(), std::move(earlier));
    EXPECT_EQ("2024-02-29 05:37:27.123", CellText(list, 1, Column(list, "Received")));

    Choose(main, ID_COLUMN_HOST);
    Choose(main, ID_COLUMN_RECEIVED);
    EXPECT_EQ((std::vector<std::string>{"From", "Details"}), ColumnHeaders(list));
    EXPECT_EQ(kPlainStyle, ExtendedStyle(list));
    main.Close();
    EXPECT_EQ(kPlainSettings, ReadFileBytes(main.IniPath()));
}

// A value that cannot be read is told once at start, the list shows what it
// can, and the file keeps the value as written until the user chooses.
TEST(Columns, AValueThatCannotBeReadIsReportedOnceAndKeptAsWritten) {
    struct Case {
        const char* columns;
        const char* widths;
        std::vector<std::string> headers;
        std::string pane;
    };
    const char* const kPlain = "the list shows From and Details\n";
    const char* const kUsualWidths = "the columns take their usual widths\n";
    const Case cases[] = {
        {"From,Hots,Details", "75,100,800", {"From", "Details"},
         std::string("Cannot read Columns=From,Hots,Details in the INI file (unknown column \"Hots\"): ") + kPlain},
        {"From,Host,Details,Host", "", {"From", "Details"},
         std::string("Cannot read Columns=From,Host,Details,Host in the INI file (\"Host\" named twice): ") + kPlain},
        {"Host,Details", "", {"From", "Details"},
         std::string("Cannot read Columns=Host,Details in the INI file (\"From\" missing): ") + kPlain},
        {"From,Host,Details", "75,wide,800", {"From", "Host", "Details"},
         std::string("Cannot read ColumnWidths=75,wide,800 in the INI file (\"wide\" is not a width from 0 to "
                     "10000): ") + kUsualWidths},
        {"From,Host,Details", "75,800", {"From", "Host", "Details"},
         std::string("Cannot read ColumnWidths=75,800 in the INI file (2 widths for 3 columns): ") + kUsualWidths},
        {"from, HOST ,Details", "75, 90,800", {"From", "Host", "Details"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        const std::string ini = SettingsSection({{"Columns", c.columns}, {"ColumnWidths", c.widths}});
        RunningMainWindow main(ini);
        const HWND pane = main.Window().DiagnosticsPane();
        PumpUntil([&] { return !PaneText(pane).empty(); }, c.pane.empty() ? 200 : 5000);
        EXPECT_EQ(c.pane, PaneText(pane));
        EXPECT_EQ(c.headers, ColumnHeaders(main.Window().MessageList()));
        main.Close();
        EXPECT_EQ(ini, ReadFileBytes(main.IniPath()).substr(0, ini.size())) << "the value kept as written";
    }
}

// The watch rules' section, read and written as at start and exit, around [Settings].

const char kSettings[] = "[Settings]\r\nAutoscroll=1\r\nToDisplay=1\r\nToFile=0\r\nFileName=\r\nColours=0\r\nKeepRows=1000000\r\n";

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
    std::vector<records::CountedRule> rules = main.Window().Book().Rules().Rules();
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

// Rules made in a first run, without an INI file: at OK the file holds them
// after an empty [Settings], whose values reach it only at exit, in their place.
TEST(WatchRulesFile, RulesMadeInAFirstRunComeAfterTheSettingsAtOkAndAtExit) {
    RunningMainWindow main;
    main.Window().SetWatchRules({Rule("first")});
    const std::string rules = "[WatchRules]\r\nRule1=" + RuleValue("first") + "\r\n";
    EXPECT_EQ("[Settings]\r\n" + rules, ReadFileBytes(main.IniPath()));
    main.Close();
    EXPECT_EQ("[Settings]\r\nAutoscroll=1\r\nToDisplay=1\r\nToFile=0\r\nFileName=\r\nColours=1\r\nKeepRows=1000000\r\n" +
                  rules,
              ReadFileBytes(main.IniPath()));
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
