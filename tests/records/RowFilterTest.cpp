// RowFilterTest.cpp: which rows a filter shows, over one table of rows and conditions; the sender census;
// the conditions in short.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/ConditionsText.h"
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

TEST(RowFilter, ShowsARowOnlyWhenEveryConditionHolds) {
    RowFilter allThree = Texts("link", "", false);
    allThree.lowestSeverity = 4;
    allThree.senders = {kSwitch};
    RowFilter hiddenSenderWins = Senders({kSwitch}, true);
    hiddenSenderWins.showText = "link";
    const struct {
        const char* what;
        RowFilter filter;
        const char* shown;
    } cases[] = {
        {"no condition", RowFilter(), "11111111"},
        {"show text, any case", Texts("disk full", "", false), "01000100"},
        {"show text, case matched", Texts("disk full", "", true), "00000100"},
        {"show text in the From text", Texts("192.168", "", false), "00001100"},
        {"8-bit letters folded", Texts("CAF\xE9", "", false), "00000001"},
        {"8-bit letters with case", Texts("caf\xE9", "", true), "00000000"},
        {"hide text, any case", Texts("", "LINK", false), "11001111"},
        {"hide text, case matched", Texts("", "LINK", true), "11111111"},
        {"hide text in the From text", Texts("", "10.0.0.1", false), "11001110"},
        {"show and hide texts", Texts("port", "down", false), "00010000"},
        {"emergency only", Severity(0), "10000000"},
        {"up to error", Severity(3), "11000000"},
        {"up to warning", Severity(4), "11100000"},
        {"up to notice", Severity(5), "11110000"},
        {"up to informational", Severity(6), "11110001"},
        {"up to debug: rows without a priority still hidden", Severity(7), "11111001"},
        {"only these senders", Senders({kPrinter, kRouter}, false), "11001110"},
        {"hide these senders", Senders({kPrinter, kRouter}, true), "00110001"},
        {"hide an absent sender", Senders({Address(1, 2, 3, 4)}, true), "11111111"},
        {"text, severity and sender together", allThree, "00100000"},
        {"a hidden sender is hidden whatever its text", hiddenSenderWins, "00000000"},
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
    EXPECT_EQ((std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7}), ShownIndices(shown));

    ASSERT_TRUE(shown.Apply(Senders({kSwitch}, false)));
    EXPECT_TRUE(shown.InForce());
    EXPECT_EQ((std::vector<size_t>{2, 3, 7}), ShownIndices(shown));
    Append(store, kRows[0]);  // the router: held, not shown
    EXPECT_FALSE(shown.Admit());
    Append(store, kRows[2]);
    EXPECT_TRUE(shown.Admit());
    EXPECT_EQ((std::vector<size_t>{2, 3, 7, 9}), ShownIndices(shown));

    ASSERT_TRUE(shown.SetOn(false));
    EXPECT_FALSE(shown.InForce());
    EXPECT_EQ(10u, shown.Count());
    EXPECT_EQ(0u, shown.BytesHeld());
    ASSERT_TRUE(shown.SetOn(true));
    EXPECT_EQ((std::vector<size_t>{2, 3, 7, 9}), ShownIndices(shown));

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

TEST(ConditionsText, NamesEachConditionSetInTheFieldsOrderAndEveryRowWhenNoneIs) {
    RowFilter all = Texts("link down", "debug", true);
    all.lowestSeverity = 3;
    all.senders = {kRouter, kSwitch};
    all.hideSenders = true;
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
        {all, "\"link down\", not \"debug\", match case, severity up to Error, 2 senders hidden"},
        {Texts("link down", "", false), "\"link down\""},
        {hideAndDebug, "not \"x\"y\", severity up to Debug"},
        {Severity(0), "severity up to Emergency"},
        {Senders({kPrinter}, false), "only 1 sender"},
        {Senders({kPrinter}, true), "1 sender hidden"},
        {Senders({kPrinter, kRouter, kSwitch}, false), "only 3 senders"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, records::ConditionsText(c.filter));
}

}  // namespace
