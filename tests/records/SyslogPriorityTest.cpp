// SyslogPriorityTest.cpp: the leading priority read from a message.
#include <gtest/gtest.h>

#include "records/SyslogPriority.h"

namespace {

using records::kNoPriority;
using records::LeadingPriority;

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

}  // namespace
