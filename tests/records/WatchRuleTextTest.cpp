// WatchRuleTextTest.cpp: a watch rule as its INI value: written and read back, and the reasons a value cannot be read.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "records/WatchRuleText.h"

namespace {

using records::WatchRule;

std::uint32_t SenderAddress(unsigned a, unsigned b, unsigned c, unsigned d) {
    return a | b << 8 | c << 16 | d << 24;
}

auto Fields(const WatchRule& r) {
    const records::RowFilter& c = r.conditions;
    return std::tie(r.name, c.showText, c.hideText, c.matchCase, c.lowestSeverity, c.senders, c.hideSenders, c.hosts,
                    c.hideHosts, c.apps, c.hideApps, r.textColour, r.backgroundColour, r.mark, r.flash, r.notify, r.beep);
}

const wchar_t kLinkDownText[] =
    L"name=LINK-DOWN;show=link down;hide=;case=0;severity=any;senders=;hidesenders=0;"
    L"text=#FFFFFF;background=#8B0000;mark=1;flash=1;notify=1;beep=0";

WatchRule LinkDown() {
    WatchRule rule;
    rule.name = "LINK-DOWN";
    rule.conditions.showText = "link down";
    rule.textColour = 0x00FFFFFF;
    rule.backgroundColour = 0x0000008B;  // dark red: RGB(0x8B, 0, 0)
    rule.mark = rule.flash = rule.notify = true;
    return rule;
}

// The good value with one piece of it replaced.
std::wstring LinkDownWith(const std::wstring& from, const std::wstring& to) {
    std::wstring text = kLinkDownText;
    const size_t at = text.find(from);
    EXPECT_NE(std::wstring::npos, at) << from;
    return text.replace(at, from.size(), to);
}

// Every byte that needs care, both flag values and colours of three different bytes.
WatchRule Awkward() {
    WatchRule rule;
    rule.name = " a;b%c=d ";
    rule.conditions.showText = "\x01\t\x1F\x7F\x80\xC9\xFF";
    rule.conditions.hideText = "%41";
    rule.conditions.matchCase = true;
    rule.conditions.lowestSeverity = 0;
    rule.conditions.senders = {SenderAddress(10, 0, 0, 9), SenderAddress(192, 168, 1, 20), 0, 0xFFFFFFFF};
    rule.conditions.hideSenders = true;
    rule.conditions.hosts = {"fw1", "a,b%;c\xC9=", ","};
    rule.conditions.apps = {"CRON"};
    rule.conditions.hideApps = true;
    rule.textColour = 0x00123456;
    rule.backgroundColour = records::kListColour;
    rule.beep = true;
    return rule;
}

const wchar_t kAwkwardText[] =
    L"name= a%3Bb%25c=d ;show=%01%09%1F%7F%80%C9%FF;hide=%2541;case=1;severity=0;"
    L"senders=10.0.0.9,192.168.1.20,0.0.0.0,255.255.255.255;hidesenders=1;"
    L"hosts=fw1,a%2Cb%25%3Bc%C9=,%2C;hidehosts=0;apps=CRON;hideapps=1;"
    L"text=#563412;background=list;mark=0;flash=0;notify=0;beep=1";

// A rule without hosts or apps is written as rules were before they came; with
// either, both of its fields are written.
TEST(WatchRuleText, IsWrittenInTheFixedOrderWithTheTextsEscaped) {
    EXPECT_EQ(kLinkDownText, records::WatchRuleText(LinkDown()));
    EXPECT_EQ(kAwkwardText, records::WatchRuleText(Awkward()));
    WatchRule hidingHosts = LinkDown();
    hidingHosts.conditions.hosts = {"sw2"};
    hidingHosts.conditions.hideHosts = true;
    EXPECT_EQ(LinkDownWith(L"hidesenders=0;", L"hidesenders=0;hosts=sw2;hidehosts=1;"),
              records::WatchRuleText(hidingHosts));
    WatchRule showingApps = LinkDown();
    showingApps.conditions.apps = {"sshd", "cron"};
    EXPECT_EQ(LinkDownWith(L"hidesenders=0;", L"hidesenders=0;apps=sshd,cron;hideapps=0;"),
              records::WatchRuleText(showingApps));
}

TEST(WatchRuleText, ReadsBackEveryRuleAsItWasWritten) {
    std::vector<WatchRule> rules = {LinkDown(), Awkward(), WatchRule()};
    WatchRule hideFlagsAlone;  // hides an empty set: no condition, but written and read as it was
    hideFlagsAlone.conditions.hideHosts = hideFlagsAlone.conditions.hideApps = true;
    rules.push_back(hideFlagsAlone);
    for (int severity = records::kAnySeverity; severity <= records::kLowestSeverity; ++severity) {
        WatchRule rule;
        rule.conditions.lowestSeverity = severity;
        rule.conditions.senders = {SenderAddress(1, 2, 3, severity + 1)};
        rule.textColour = 0x00FF0000u >> (severity + 1);
        rules.push_back(rule);
    }
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte) everyByte += static_cast<char>(byte);
    WatchRule allBytes;
    allBytes.name = allBytes.conditions.showText = allBytes.conditions.hideText = everyByte;
    allBytes.conditions.hosts = allBytes.conditions.apps = {everyByte, everyByte.substr(40, 10)};
    rules.push_back(allBytes);

    for (const WatchRule& rule : rules) {
        const std::wstring text = records::WatchRuleText(rule);
        WatchRule read;
        std::wstring why;
        ASSERT_TRUE(records::ReadWatchRuleText(text, read, why)) << text << ": " << why;
        EXPECT_TRUE(Fields(rule) == Fields(read)) << text;
        EXPECT_EQ(text, records::WatchRuleText(read));
    }
}

TEST(WatchRuleText, ReadsFieldsInAnyOrderAndHexInEitherCase) {
    WatchRule read;
    std::wstring why;
    ASSERT_TRUE(records::ReadWatchRuleText(L"beep=1;notify=0;flash=0;mark=0;background=list;text=#563412;"
                                           L"hideapps=1;apps=CRON;hidehosts=0;hosts=fw1,a%2cb%25%3bc%c9=,%2c;"
                                           L"hidesenders=1;senders=10.0.0.9,192.168.1.20,0.0.0.0,255.255.255.255;"
                                           L"severity=0;case=1;hide=%2541;show=%01%09%1f%7f%80%c9%Ff;name= a%3bb%25c=d ",
                                           read, why))
        << why;
    EXPECT_TRUE(Fields(Awkward()) == Fields(read));
    // A line written before hosts and apps came reads as a rule without them.
    ASSERT_TRUE(records::ReadWatchRuleText(
        L"name=LINK-DOWN;show=link down;hide=;case=0;severity=any;senders=;hidesenders=0;text=#ffffff;"
        L"background=#8b0000;mark=1;flash=1;notify=1;beep=0",
        read, why))
        << why;
    EXPECT_TRUE(Fields(LinkDown()) == Fields(read));
}

TEST(WatchRuleText, SaysWhyAValueCannotBeRead) {
    const struct {
        std::wstring text;
        const wchar_t* why;
    } cases[] = {
        {L"", L"field \"name\" missing"},
        {LinkDownWith(L";beep=0", L""), L"field \"beep\" missing"},
        {L"name=LINK-DOWN;show=link do", L"field \"hide\" missing"},  // a cut line
        {LinkDownWith(L"name=", L"sound=1;name="), L"unknown field \"sound\""},
        {LinkDownWith(L"case=0", L"Case=0"), L"unknown field \"Case\""},
        {LinkDownWith(L";beep=0", L";beep"), L"field \"beep\" has no \"=\""},
        {LinkDownWith(L"case=0", L"case=0;case=1"), L"field \"case\" repeated"},
        {LinkDownWith(L";mark", L";;mark"), L"empty field"},
        {LinkDownWith(L"beep=0", L"beep=0;"), L"empty field"},
        {LinkDownWith(L"severity=any", L"severity=8"), L"bad value in field \"severity\""},
        {LinkDownWith(L"severity=any", L"severity=ANY"), L"bad value in field \"severity\""},
        {LinkDownWith(L"severity=any", L"severity=-1"), L"bad value in field \"severity\""},
        {LinkDownWith(L"severity=any", L"severity=07"), L"bad value in field \"severity\""},
        {LinkDownWith(L"case=0", L"case=2"), L"bad value in field \"case\""},
        {LinkDownWith(L"mark=1", L"mark="), L"bad value in field \"mark\""},
        {LinkDownWith(L"beep=0", L"beep=00"), L"bad value in field \"beep\""},
        {LinkDownWith(L"senders=", L"senders=10.0.0"), L"bad value in field \"senders\""},
        {LinkDownWith(L"senders=", L"senders=10.0.0.256"), L"bad value in field \"senders\""},
        {LinkDownWith(L"senders=", L"senders=10.0.0.1.2"), L"bad value in field \"senders\""},
        {LinkDownWith(L"senders=", L"senders=010.0.0.1"), L"bad value in field \"senders\""},
        {LinkDownWith(L"senders=", L"senders=10.0.0.1,"), L"bad value in field \"senders\""},
        {LinkDownWith(L"senders=", L"senders=10.0.0.1,,10.0.0.2"), L"bad value in field \"senders\""},
        {LinkDownWith(L"senders=", L"senders= 10.0.0.1"), L"bad value in field \"senders\""},
        {LinkDownWith(L"text=#FFFFFF", L"text=#FFFFF"), L"bad value in field \"text\""},
        {LinkDownWith(L"text=#FFFFFF", L"text=FFFFFF"), L"bad value in field \"text\""},
        {LinkDownWith(L"text=#FFFFFF", L"text=List"), L"bad value in field \"text\""},
        {LinkDownWith(L"background=#8B0000", L"background=#8G0000"), L"bad value in field \"background\""},
        {LinkDownWith(L"name=LINK-DOWN", L"name=LINK\tDOWN"), L"bad value in field \"name\""},
        {LinkDownWith(L"name=LINK-DOWN", L"name=caf\xE9"), L"bad value in field \"name\""},
        {LinkDownWith(L"show=link down", L"show=link%2"), L"bad escape in field \"show\""},
        {LinkDownWith(L"show=link down", L"show=link%"), L"bad escape in field \"show\""},
        {LinkDownWith(L"hide=", L"hide=%G1"), L"bad escape in field \"hide\""},
        {LinkDownWith(L"name=LINK-DOWN", L"name=%-1"), L"bad escape in field \"name\""},
        {LinkDownWith(L";text", L";hosts=fw1;hosts=fw2;text"), L"field \"hosts\" repeated"},
        {LinkDownWith(L";text", L";hosts=fw1,;text"), L"bad value in field \"hosts\""},
        {LinkDownWith(L";text", L";hosts=,fw1;text"), L"bad value in field \"hosts\""},
        {LinkDownWith(L";text", L";hosts=fw1,,fw2;text"), L"bad value in field \"hosts\""},
        {LinkDownWith(L";text", L";hosts=caf\xE9;text"), L"bad value in field \"hosts\""},
        {LinkDownWith(L";text", L";hosts=fw1%2;text"), L"bad escape in field \"hosts\""},
        {LinkDownWith(L";text", L";hidehosts=yes;text"), L"bad value in field \"hidehosts\""},
        {LinkDownWith(L";text", L";apps=sshd,%zz;text"), L"bad escape in field \"apps\""},
        {LinkDownWith(L";text", L";apps=ss\thd;text"), L"bad value in field \"apps\""},
        {LinkDownWith(L";text", L";hideapps=;text"), L"bad value in field \"hideapps\""},
        {LinkDownWith(L";text", L";Hosts=fw1;text"), L"unknown field \"Hosts\""},
    };
    for (const auto& c : cases) {
        WatchRule rule = Awkward();
        std::wstring why;
        EXPECT_FALSE(records::ReadWatchRuleText(c.text, rule, why)) << c.text;
        EXPECT_EQ(c.why, why) << c.text;
        EXPECT_TRUE(Fields(Awkward()) == Fields(rule)) << c.text;  // left as it was
    }
}

}  // namespace
