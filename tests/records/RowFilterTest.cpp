// RowFilterTest.cpp: which rows a filter shows, over one table of rows and conditions; the sender, host and
// app census; the conditions in short.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/ConditionsText.h"
#include "records/HeaderCensus.h"
#include "records/RowFilter.h"
#include "records/SenderCensus.h"
#include "records/ShownRows.h"

namespace {

using records::RowFilter;

std::uint32_t Address(unsigned a, unsigned b, unsigned c, unsigned d) {
    return a | b << 8 | c << 16 | d << 24;
}

const std::uint32_t kRouter = Address(10, 0, 0, 9);
const std::uint32_t kSwitch = Address(10, 0, 0, 10);
const std::uint32_t kPrinter = Address(192, 168, 1, 20);
const std::uint32_t kRelay = Address(10, 0, 0, 50);  // forwards for the hosts its rows' headers name

struct Row {
    std::uint32_t sender;
    const char* message;
};

// Row i is bit i of the shown set below.
const Row kRows[] = {
    {kRouter, "<0>kernel panic"},                  // 0: emergency
    {kRouter, "<11>disk FULL on /var"},            // 1: error (facility 1)
    {kSwitch, "<12>link down on port 3"},          // 2: warning
    {kSwitch, "<13>link up on port 3"},            // 3: notice
    {kPrinter, "<191>paper low"},                  // 4: debug (facility 23)
    {kPrinter, "no priority: disk full"},          // 5
    {kRouter, "<03>leading zero is no priority"},  // 6
    {kSwitch, "<14>caf\xC9 opened"},               // 7: informational, É in the 8-bit code page
    {kRelay, "<13>Dec  8 10:01:02 fw1 sshd[12]: session opened"},         // 8: notice; host fw1, app sshd
    {kRelay, "<11>1 2026-12-08T10:01:02Z FW1 CRON 99 - - job failed"},    // 9: error; host FW1, app CRON
    {kRelay, "<14>Dec  8 10:01:02 sshd[7]: no host named"},              // 10: informational; app sshd alone
    {kRelay, "<12>1 2026-12-08T10:01:02Z sw2 - - - - link down again"},  // 11: warning; host sw2 alone
};

// The rows the filter shows, as a string of 0 and 1 in row order.
std::string Shown(const RowFilter& filter) {
    const records::RowFilterTest test(filter);
    std::string shown;
    for (const Row& row : kRows)
        shown += test.Passes({row.message, std::strlen(row.message), row.sender, 0}) ? '1' : '0';
    return shown;
}

RowFilter Texts(const char* show, const char* hide, bool matchCase) {
    RowFilter filter;
    filter.showText = show;
    filter.hideText = hide;
    filter.matchCase = matchCase;
    return filter;
}

RowFilter Severity(int lowest) {
    RowFilter filter;
    filter.lowestSeverity = lowest;
    return filter;
}

RowFilter Senders(std::vector<std::uint32_t> senders, bool hide) {
    RowFilter filter;
    filter.senders = std::move(senders);
    filter.hideSenders = hide;
    return filter;
}

RowFilter Hosts(std::vector<std::string> hosts, bool hide) {
    RowFilter filter;
    filter.hosts = std::move(hosts);
    filter.hideHosts = hide;
    return filter;
}

RowFilter Apps(std::vector<std::string> apps, bool hide) {
    RowFilter filter;
    filter.apps = std::move(apps);
    filter.hideApps = hide;
    return filter;
}

TEST(RowFilter, ShowsARowOnlyWhenEveryConditionHolds) {
    RowFilter allThree = Texts("link", "", false);
    allThree.lowestSeverity = 4;
    allThree.senders = {kSwitch};
    RowFilter hiddenSenderWins = Senders({kSwitch}, true);
    hiddenSenderWins.showText = "link";
    RowFilter hostAndApp = Hosts({"fw1"}, false);
    hostAndApp.apps = {"sshd"};
    RowFilter hostAndHiddenText = Hosts({"fw1"}, false);
    hostAndHiddenText.hideText = "session";
    RowFilter hiddenHostAndSeverity = Hosts({"sw2"}, true);
    hiddenHostAndSeverity.lowestSeverity = 4;
    const struct {
        const char* what;
        RowFilter filter;
        const char* shown;
    } cases[] = {
        {"no condition", RowFilter(), "111111111111"},
        {"show text, any case", Texts("disk full", "", false), "010001000000"},
        {"show text, case matched", Texts("disk full", "", true), "000001000000"},
        {"show text in the From text", Texts("192.168", "", false), "000011000000"},
        {"8-bit letters folded", Texts("CAF\xE9", "", false), "000000010000"},
        {"8-bit letters with case", Texts("caf\xE9", "", true), "000000000000"},
        {"hide text, any case", Texts("", "LINK", false), "110011111110"},
        {"hide text, case matched", Texts("", "LINK", true), "111111111111"},
        {"hide text in the From text", Texts("", "10.0.0.1", false), "110011101111"},
        {"show and hide texts", Texts("port", "down", false), "000100000000"},
        {"emergency only", Severity(0), "100000000000"},
        {"up to error", Severity(3), "110000000100"},
        {"up to warning", Severity(4), "111000000101"},
        {"up to notice", Severity(5), "111100001101"},
        {"up to informational", Severity(6), "111100011111"},
        {"up to debug: rows without a priority still hidden", Severity(7), "111110011111"},
        {"only these senders", Senders({kPrinter, kRouter}, false), "110011100000"},
        {"hide these senders", Senders({kPrinter, kRouter}, true), "001100011111"},
        {"hide an absent sender", Senders({Address(1, 2, 3, 4)}, true), "111111111111"},
        {"text, severity and sender together", allThree, "001000000000"},
        {"a hidden sender is hidden whatever its text", hiddenSenderWins, "000000000001"},
        {"only a host, in either case, rows without one hidden", Hosts({"fw1"}, false), "000000001100"},
        {"only two hosts", Hosts({"sw2", "FW1"}, false), "000000001101"},
        {"a host is the whole word, not a part", Hosts({"fw", "w1", "fw1 "}, false), "000000000000"},
        {"an app's name is no host", Hosts({"sshd"}, false), "000000000000"},
        {"hide a host: rows without one shown", Hosts({"Fw1"}, true), "111111110011"},
        {"hide an absent host", Hosts({"ap7"}, true), "111111111111"},
        {"only an app, from either form", Apps({"sshd", "CRON"}, false), "000000001110"},
        {"apps compared byte for byte", Apps({"cron", "SSHD"}, false), "000000000000"},
        {"a host's name is no app", Apps({"fw1"}, false), "000000000000"},
        {"hide an app: rows without one shown", Apps({"sshd"}, true), "111111110101"},
        {"host and app together", hostAndApp, "000000001000"},
        {"host and hidden text", hostAndHiddenText, "000000000100"},
        {"hidden host and severity", hiddenHostAndSeverity, "111000000100"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, Shown(c.filter)) << c.what;
}

TEST(RowFilter, IsEmptyOnlyWithoutAnyCondition) {
    EXPECT_TRUE(RowFilter().IsEmpty());
    RowFilter caseAlone;
    caseAlone.matchCase = true;
    caseAlone.hideSenders = true;
    EXPECT_TRUE(caseAlone.IsEmpty());
    EXPECT_FALSE(Texts("a", "", false).IsEmpty());
    EXPECT_FALSE(Texts("", "a", false).IsEmpty());
    EXPECT_FALSE(Severity(7).IsEmpty());
    EXPECT_FALSE(Senders({kRouter}, true).IsEmpty());
    EXPECT_FALSE(Hosts({"fw1"}, true).IsEmpty());
    EXPECT_FALSE(Apps({"sshd"}, false).IsEmpty());
    RowFilter hideFlagsAlone;
    hideFlagsAlone.hideHosts = hideFlagsAlone.hideApps = true;
    EXPECT_TRUE(hideFlagsAlone.IsEmpty());
}

void Append(records::RecordStore& store, const Row& row) {
    std::string message = row.message;
    ASSERT_TRUE(store.Append(net::SyslogRecord{&message[0], row.sender, 0}));
}

// The store indices of the rows shown, checked against the rows read through the view.
std::vector<size_t> ShownIndices(const records::ShownRows& shown) {
    std::vector<size_t> indices;
    for (size_t row = 0; row < shown.Count(); ++row) {
        indices.push_back(shown.StoreIndex(row));
        EXPECT_EQ(shown.Store().Row(shown.StoreIndex(row)).message, shown.Row(row).message);
    }
    return indices;
}

TEST(ShownRows, KeepsTheFilterThroughOffOnAndClearAndAdmitsOnlyRowsThatPass) {
    records::RecordStore store;
    for (const Row& row : kRows) Append(store, row);
    records::ShownRows shown(store);
    EXPECT_FALSE(shown.InForce());
    EXPECT_EQ((std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), ShownIndices(shown));

    ASSERT_TRUE(shown.Apply(Senders({kSwitch}, false)));
    EXPECT_TRUE(shown.InForce());
    EXPECT_EQ((std::vector<size_t>{2, 3, 7}), ShownIndices(shown));
    Append(store, kRows[0]);  // the router: held, not shown
    EXPECT_FALSE(shown.Admit());
    Append(store, kRows[2]);
    EXPECT_TRUE(shown.Admit());
    EXPECT_EQ((std::vector<size_t>{2, 3, 7, 13}), ShownIndices(shown));

    ASSERT_TRUE(shown.SetOn(false));
    EXPECT_FALSE(shown.InForce());
    EXPECT_EQ(14u, shown.Count());
    EXPECT_EQ(0u, shown.BytesHeld());
    ASSERT_TRUE(shown.SetOn(true));
    EXPECT_EQ((std::vector<size_t>{2, 3, 7, 13}), ShownIndices(shown));

    store.Clear();
    shown.ForgetRows();
    EXPECT_TRUE(shown.InForce());
    EXPECT_EQ(0u, shown.Count());
    Append(store, kRows[3]);
    EXPECT_TRUE(shown.Admit());
    EXPECT_EQ((std::vector<size_t>{0}), ShownIndices(shown));

    // On without a defined filter stays off.
    ASSERT_TRUE(shown.Apply(RowFilter()));
    EXPECT_FALSE(shown.InForce());
}

TEST(SenderCensus, CountsEachSenderOnceSortedByAddressAsNumbers) {
    records::RecordStore store;
    const std::uint32_t senders[] = {kPrinter, kSwitch, kSwitch, kRouter, kSwitch, kPrinter, Address(9, 255, 255, 255)};
    for (const std::uint32_t sender : senders) {
        char message[] = "<13>text";
        ASSERT_TRUE(store.Append(net::SyslogRecord{message, sender, 0}));
    }
    std::vector<std::string> shown;
    for (const records::SenderCount& sender : records::CountSenders(store)) shown.push_back(records::SenderCountText(sender));
    EXPECT_EQ((std::vector<std::string>{"9.255.255.255 (1 rows)", "10.0.0.9 (1 rows)", "10.0.0.10 (3 rows)",
                                        "192.168.1.20 (2 rows)"}),
              shown);
    EXPECT_TRUE(records::CountSenders(records::RecordStore()).empty());
    // A sender the filter names stays listed after Clear, with no rows.
    const auto kept = records::CountSenders(records::RecordStore(), {kSwitch});
    ASSERT_EQ(1u, kept.size());
    EXPECT_EQ("10.0.0.10 (0 rows)", records::SenderCountText(kept[0]));
}

std::vector<std::string> NameTexts(const std::vector<records::NameCount>& names) {
    std::vector<std::string> texts;
    for (const records::NameCount& name : names) texts.push_back(records::NameCountText(name));
    return texts;
}

// A host is counted without ASCII case, in the spelling of its oldest row;
// an app byte for byte. Runs of one name and names met again later count alike.
TEST(HeaderCensus, CountsEachHostAndAppOnceWithTheFiltersOwnAtZeroRows) {
    records::RecordStore store;
    const char* const messages[] = {
        "<13>Dec  8 10:01:02 fw1 sshd[12]: session opened",
        "<13>Dec  8 10:01:03 fw1 sshd[13]: session opened",
        "<11>1 2026-12-08T10:01:02Z FW1 CRON 99 - - job failed",
        "<12>1 2026-12-08T10:01:02Z sw2 - - - - link down",
        "<14>Dec  8 10:01:02 sshd[7]: no host named",
        "<14>Dec  8 10:01:02 Fw1 SSHD: upper case",
        "no priority, so no header",
        "<14>1 - - - - - - every field nil",
    };
    for (const char* message : messages) Append(store, {kRelay, message});
    RowFilter filter;
    filter.hosts = {"FW1", "zeta"};
    filter.apps = {"ntpd", "sshd"};
    const records::HostsAndApps counted = records::CountHostsAndApps(store, filter);
    EXPECT_EQ((std::vector<std::string>{"fw1 (4 rows)", "sw2 (1 rows)", "zeta (0 rows)"}), NameTexts(counted.hosts));
    EXPECT_EQ((std::vector<std::string>{"CRON (1 rows)", "ntpd (0 rows)", "SSHD (1 rows)", "sshd (3 rows)"}),
              NameTexts(counted.apps));
    const records::HostsAndApps none = records::CountHostsAndApps(records::RecordStore(), RowFilter());
    EXPECT_TRUE(none.hosts.empty());
    EXPECT_TRUE(none.apps.empty());
}

TEST(ConditionsText, NamesEachConditionSetInTheFieldsOrderAndEveryRowWhenNoneIs) {
    RowFilter all = Texts("link down", "debug", true);
    all.lowestSeverity = 3;
    all.senders = {kRouter, kSwitch};
    all.hideSenders = true;
    all.hosts = {"fw1"};
    all.apps = {"sshd", "cron", "ntpd"};
    all.hideApps = true;
    RowFilter caseAlone = Senders({}, true);
    caseAlone.matchCase = true;
    RowFilter hideAndDebug = Texts("", "x\"y", false);
    hideAndDebug.lowestSeverity = records::kLowestSeverity;
    const struct {
        RowFilter filter;
        const char* text;
    } cases[] = {
        {RowFilter(), "every row"},
        {caseAlone, "every row"},
        {all, "\"link down\", not \"debug\", match case, severity up to Error, 2 senders hidden, only 1 host, "
              "3 apps hidden"},
        {Texts("link down", "", false), "\"link down\""},
        {hideAndDebug, "not \"x\"y\", severity up to Debug"},
        {Severity(0), "severity up to Emergency"},
        {Senders({kPrinter}, false), "only 1 sender"},
        {Senders({kPrinter}, true), "1 sender hidden"},
        {Senders({kPrinter, kRouter, kSwitch}, false), "only 3 senders"},
        {Hosts({"fw1", "sw2"}, false), "only 2 hosts"},
        {Hosts({"fw1"}, true), "1 host hidden"},
        {Apps({"sshd"}, false), "only 1 app"},
        {Apps({"sshd", "cron"}, true), "2 apps hidden"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, records::ConditionsText(c.filter));
}

}  // namespace
