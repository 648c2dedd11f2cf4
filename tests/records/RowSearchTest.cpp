// RowSearchTest.cpp: which row a search finds, over rows held in the test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "records/RowSearch.h"

namespace {

using records::FindRow;
using records::RowTexts;
using records::SearchStart;
using records::TextMatcher;

struct HeldRow {
    const char* sender;
    const char* message;
};

const std::vector<HeldRow> kHeldRows = {
    {"10.0.0.1", "<13>service started"},         // 0
    {"10.0.0.2", "<11>disk FULL on /var"},       // 1
    {"10.0.0.1", "<14>nothing to see"},          // 2
    {"192.168.5.9", "<12>disk full again"},      // 3
    {"10.0.0.1", "<14>caf\xC9 opened"},          // 4: É in the 8-bit code page
    {"10.0.0.4", "<14>Z\xC3\xBCrich \xE2\x80\x94 \xE2\x82\xAC" "12,50\tpaid"},  // 5: UTF-8
    {"10.0.0.3", "<13>last"},                    // 6
};

int Find(const char* text, bool matchCase, int currentRow, bool down) {
    const TextMatcher matcher(text, matchCase);
    const int count = static_cast<int>(kHeldRows.size());
    return FindRow(matcher, count, SearchStart(currentRow, count, down), down, [](int row, bool, RowTexts& out) {
        std::strcpy(out.sender, kHeldRows[static_cast<size_t>(row)].sender);
        out.message = kHeldRows[static_cast<size_t>(row)].message;
        return true;
    });
}

TEST(RowSearch, DownStartsAfterTheCurrentRowOrAtTheFirst) {
    EXPECT_EQ(1, Find("disk", false, -1, true));
    EXPECT_EQ(3, Find("disk", false, 1, true));
    EXPECT_EQ(0, Find("started", false, -1, true));  // the first row itself, when none is current
    EXPECT_EQ(3, Find("192.168", false, 0, true));   // the From text is searched too
}

TEST(RowSearch, UpStartsBeforeTheCurrentRowOrAtTheLast) {
    EXPECT_EQ(3, Find("disk", false, -1, false));
    EXPECT_EQ(1, Find("disk", false, 3, false));
    EXPECT_EQ(6, Find("last", false, -1, false));  // the last row itself, when none is current
}

TEST(RowSearch, MatchCaseComparesExactBytesAndOtherwiseFoldsTheCodePagesLetters) {
    EXPECT_EQ(1, Find("disk full", false, -1, true));
    EXPECT_EQ(3, Find("disk full", true, -1, true));
    EXPECT_EQ(1, Find("FULL", true, -1, true));
    EXPECT_EQ(4, Find("CAF\xC9", false, -1, true));
    EXPECT_EQ(4, Find("caf\xE9", false, -1, true));  // é finds É
    EXPECT_EQ(-1, Find("caf\xE9", true, -1, true));
}

// A UTF-8 message is searched as it is shown, for the text as typed in the
// code page: its characters, not its bytes read in the code page; a tab is
// shown and found as a space.
TEST(RowSearch, AMessageShownAsUtf8IsSearchedAsItIsShown) {
    EXPECT_EQ(5, Find("Z\xFCrich \x97 \x80" "12,50 paid", true, -1, true));
    EXPECT_EQ(5, Find("z\xDCRICH", false, -1, true));
    EXPECT_EQ(-1, Find("z\xDCRICH", true, -1, true));
    EXPECT_EQ(-1, Find("Z\xC3\xBC", false, -1, true));
    EXPECT_EQ(-1, Find("\xE2\x82\xAC", false, -1, true));
    EXPECT_EQ(5, Find("12,50 PAID", false, -1, true));
    EXPECT_EQ(5, Find("50\tpaid", false, -1, true));
}

TEST(RowSearch, DoesNotWrapAroundAndFindsNothingPastTheEnd) {
    EXPECT_EQ(-1, Find("disk", false, 3, true));      // row 1 lies above: not searched
    EXPECT_EQ(-1, Find("disk", false, 1, false));     // row 3 lies below
    EXPECT_EQ(-1, Find("started", false, 6, true));   // from the last row down: nothing left
    EXPECT_EQ(-1, Find("no such text", false, -1, true));
    EXPECT_EQ(-1, Find("disk fullness", false, -1, true));  // a text longer than the rest of the message
}

}  // namespace
