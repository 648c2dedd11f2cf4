// SyslogPriorityTest.cpp: the leading priority read from a message, and the colours of its severity.
#include <gtest/gtest.h>

#include "log/SyslogPriority.h"

namespace {

using messagelog::kNoPriority;
using messagelog::LeadingPriority;
using messagelog::RowColours;

TEST(SyslogPriority, OnlyALeadingPriorityFrom0To191WithoutLeadingZerosCounts) {
    const struct {
        const char* message;
        int priority;
    } cases[] = {
        {"<0>emergency", 0},
        {"<7>", 7},
        {"<13>Dec  8 05:37:27 host app: text", 13},
        {"<191>highest", 191},
        {"<192>one too high", kNoPriority},
        {"<999>", kNoPriority},
        {"<1000>four digits", kNoPriority},
        {"<>empty", kNoPriority},
        {"<7", kNoPriority},
        {"<7 >", kNoPriority},
        {"<-1>", kNoPriority},
        {"<+3>", kNoPriority},
        {"<03>leading zero", kNoPriority},
        {"<00>", kNoPriority},
        {"<007>", kNoPriority},
        {" <3>not at the start", kNoPriority},
        {"3>", kNoPriority},
        {"<", kNoPriority},
        {"", kNoPriority},
        {"no priority", kNoPriority},
    };
    for (const auto& c : cases) EXPECT_EQ(c.priority, LeadingPriority(c.message)) << c.message;
}

TEST(SyslogPriority, SeveritiesUpToWarningHaveColoursAndTheOthersKeepTheLists) {
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF darkRed = RGB(139, 0, 0);
    RowColours colours{};
    // Priority = facility * 8 + severity: the facility makes no difference.
    for (const int facility : {0, 1, 23}) {
        SCOPED_TRACE(facility);
        for (const int severity : {0, 1, 2}) {
            ASSERT_TRUE(messagelog::SeverityColours(facility * 8 + severity, colours));
            EXPECT_EQ(white, colours.text);
            EXPECT_EQ(darkRed, colours.background);
        }
        ASSERT_TRUE(messagelog::SeverityColours(facility * 8 + 3, colours));
        EXPECT_EQ(RGB(210, 0, 0), colours.text);
        EXPECT_EQ(CLR_DEFAULT, colours.background);
        ASSERT_TRUE(messagelog::SeverityColours(facility * 8 + 4, colours));
        EXPECT_EQ(RGB(200, 95, 0), colours.text);
        EXPECT_EQ(CLR_DEFAULT, colours.background);
        for (const int severity : {5, 6, 7}) EXPECT_FALSE(messagelog::SeverityColours(facility * 8 + severity, colours));
    }
    EXPECT_FALSE(messagelog::SeverityColours(kNoPriority, colours));
}

}  // namespace
