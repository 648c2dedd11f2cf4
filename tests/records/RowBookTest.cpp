// RowBookTest.cpp: the rows held and shown, each row's first rule and the rules' counts, as the oldest rows leave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/RowBook.h"

namespace {

using records::RowBook;

records::CountedRule Rule(const char* showText, std::uint32_t id = 0) {
    records::CountedRule counted;
    counted.rule.name = showText;
    counted.rule.conditions.showText = showText;
    counted.id = id;
    return counted;
}

records::Admission Admit(RowBook& book, const std::string& text, bool hold = true) {
    std::string message = text;
    return book.Admit(net::SyslogRecord{&message[0], 0x0100007F, 0}, hold);
}

// The rows held, oldest first, joined by '|'.
std::string Held(const RowBook& book) {
    std::string held;
    for (size_t row = 0; row < book.Held().Count(); ++row)
        held += (row ? "|" : "") + std::string(book.Held().Row(row).message);
    return held;
}

// The rows shown, each with the index of its first rule or '-'.
std::string Shown(const RowBook& book) {
    std::string shown;
    for (size_t row = 0; row < book.Shown().Count(); ++row) {
        const records::StoredRow stored = book.Shown().Row(row);
        shown += (row ? "|" : "") + std::string(stored.message) + ":" +
                 (stored.firstRule == records::kNoRule ? "-" : std::to_string(stored.firstRule));
    }
    return shown;
}

std::string Counts(const RowBook& book) {
    std::string counts;
    for (const records::CountedRule& counted : book.Rules().Rules())
        counts += (counts.empty() ? "" : ",") + counted.rule.name + "=" + std::to_string(counted.matches);
    return counts;
}

// One table: each step acts on the book, then the rows held and shown, the
// rules' counts and what the step let go are what the user would see.
TEST(RowBook, RowsLeaveOldestFirstWhileTheFilterAndRulesStayRight) {
    RowBook book(3);
    std::vector<records::CountedRule> rules = {Rule("link"), Rule("down")};
    ASSERT_TRUE(book.SetRules(rules));
    rules = book.Rules().Rules();  // with the ids they were given, as the dialog gets them
    records::RowFilter hideUp;
    hideUp.hideText = "up";
    const std::vector<records::CountedRule> swapped = {rules[1], rules[0]};

    enum class Do { Admit, AdmitUnheld, Keep, Filter, FilterOff, Rules, Clear };
    const struct Step {
        const char* what;
        Do action;
        std::string text;  // the message admitted
        size_t keep;
        std::string held;
        std::string shown;
        std::string counts;
        size_t left;
        size_t leftShown;
        bool firstTime;
    } steps[] = {
        {"a row matching both rules takes the first", Do::Admit, "1 link down", 0, "1 link down", "1 link down:0",
         "link=1,down=1", 0, 0, false},
        {"a row matching none", Do::Admit, "2 port up", 0, "1 link down|2 port up", "1 link down:0|2 port up:-",
         "link=1,down=1", 0, 0, false},
        {"the filter hides a held row", Do::Filter, "", 0, "1 link down|2 port up", "1 link down:0", "link=1,down=1", 0,
         0, false},
        {"the second rule's row", Do::Admit, "3 port down", 0, "1 link down|2 port up|3 port down",
         "1 link down:0|3 port down:1", "link=1,down=2", 0, 0, false},
        {"three held: the oldest, shown, leaves", Do::Admit, "4 link up", 0, "2 port up|3 port down|4 link up",
         "3 port down:1", "link=2,down=2", 1, 1, true},
        {"a hidden row leaves", Do::Admit, "5 link down", 0, "3 port down|4 link up|5 link down",
         "3 port down:1|5 link down:0", "link=3,down=3", 1, 0, false},
        {"not held: only counted", Do::AdmitUnheld, "6 link", 0, "3 port down|4 link up|5 link down",
         "3 port down:1|5 link down:0", "link=4,down=3", 0, 0, false},
        {"moved rules keep their counts; rows take their new first", Do::Rules, "", 0,
         "3 port down|4 link up|5 link down", "3 port down:0|5 link down:0", "down=3,link=4", 0, 0, false},
        {"fewer kept: the oldest leave at once", Do::Keep, "", 1, "5 link down", "5 link down:0", "down=3,link=4", 2, 1,
         false},
        {"more kept: every row stays", Do::Keep, "", 4, "5 link down", "5 link down:0", "down=3,link=4", 0, 0, false},
        {"room again", Do::Admit, "7 port down", 0, "5 link down|7 port down", "5 link down:0|7 port down:0",
         "down=4,link=4", 0, 0, false},
        {"the filter off shows every row held", Do::FilterOff, "", 0, "5 link down|7 port down",
         "5 link down:0|7 port down:0", "down=4,link=4", 0, 0, false},
        {"Clear: no row, the counts stay", Do::Clear, "", 0, "", "", "down=4,link=4", 0, 0, false},
        {"after Clear", Do::Admit, "8 link up", 0, "8 link up", "8 link up:1", "down=4,link=5", 0, 0, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        records::Departure departure;
        switch (step.action) {
        case Do::Admit:
        case Do::AdmitUnheld: {
            const bool hold = step.action == Do::Admit;
            const records::Admission admission = Admit(book, step.text, hold);
            EXPECT_EQ(hold, admission.held);
            departure = admission.departure;
            break;
        }
        case Do::Keep:
            departure = book.SetKeepRows(step.keep);
            break;
        case Do::Filter:
            ASSERT_TRUE(book.ApplyFilter(hideUp));
            break;
        case Do::FilterOff:
            ASSERT_TRUE(book.SetFilterOn(false));
            break;
        case Do::Rules:
            ASSERT_TRUE(book.SetRules(swapped));
            break;
        case Do::Clear:
            book.Clear();
            break;
        }
        EXPECT_EQ(step.held, Held(book));
        EXPECT_EQ(step.shown, Shown(book));
        EXPECT_EQ(step.counts, Counts(book));
        EXPECT_EQ(step.left, departure.left);
        EXPECT_EQ(step.leftShown, departure.leftShown);
        EXPECT_EQ(step.firstTime, departure.firstTime);
    }
}

// The store may take three chunks: one of entries, two of messages. When the
// third is refused, the oldest rows give theirs back and the book keeps as
// many rows as it then holds; from then on every row is held, the newest ones.
TEST(RowBook, WhenMemoryRunsOutTheOldestRowsMakeRoomForTheNewest) {
    constexpr size_t kChunk = size_t{1} << 20;
    RowBook book(1000000, 3 * kChunk);
    const std::string filler(10000, 'x');
    size_t admitted = 0;
    size_t shrinks = 0;
    size_t shrankAt = 0;
    for (; admitted < 1000; ++admitted) {
        const records::Admission admission = Admit(book, std::to_string(admitted) + filler);
        ASSERT_TRUE(admission.held) << "row " << admitted;
        if (admission.keepShrank) {
            ++shrinks;
            if (!shrankAt) shrankAt = admitted;
            EXPECT_GT(admission.departure.left, 0u);
            EXPECT_EQ(admission.departure.left, admission.departure.leftShown);
        }
        ASSERT_LE(book.Held().BytesHeld(), 3 * kChunk);
    }
    EXPECT_EQ(208u, shrankAt) << "two message chunks hold 104 rows each; the next row needs a third";
    EXPECT_EQ(1u, shrinks) << "once the oldest chunk's rows have gone, each chunk given back takes the next rows";
    EXPECT_EQ(book.KeepRows(), book.Held().Count());
    EXPECT_GT(book.Held().Count(), 100u);
    EXPECT_EQ(std::to_string(admitted - 1) + filler, book.Held().Row(book.Held().Count() - 1).message);
    EXPECT_EQ(std::to_string(admitted - book.Held().Count()) + filler, book.Held().Row(0).message);

    // Clear gives the memory back and asks for as many rows as were set.
    book.Clear();
    EXPECT_EQ(0u, book.Held().BytesHeld());
    EXPECT_EQ(1000000u, book.KeepRows());
    EXPECT_TRUE(Admit(book, "after").held);
}

// A row no memory can take at all is not held, and nothing else leaves for it.
TEST(RowBook, ARowLongerThanEveryByteAllowedIsNotHeld) {
    RowBook book(10, 3 * (size_t{1} << 20));
    EXPECT_TRUE(Admit(book, "small").held);
    const records::Admission refused = Admit(book, std::string((size_t{1} << 20) + 1, 'y'));
    EXPECT_FALSE(refused.held);
    EXPECT_EQ("small", Held(book));
}

}  // namespace
