// SyslogPriorityTest.cpp: the leading priority read from a message, and the names of its facility and severity.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "records/SyslogPriority.h"
#include "tests/records/GuardedBytes.h"

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
    for (const auto& c : cases) {
        EXPECT_EQ(c.priority, LeadingPriority(c.message)) << c.message;
        const guarded::GuardedBytes bytes(c.message);
        EXPECT_EQ(c.priority, LeadingPriority(bytes.Data(), bytes.Length())) << c.message;
    }
}

// A priority is never read from bytes past the length given, even when they would complete it.
TEST(SyslogPriority, OnlyTheBytesGivenAreRead) {
    const char message[] = "<13>text";
    for (size_t length = 0; length < std::strlen("<13>"); ++length) {
        const guarded::GuardedBytes bytes(std::string(message, length));
        EXPECT_EQ(kNoPriority, LeadingPriority(bytes.Data(), bytes.Length())) << length;
        EXPECT_EQ(kNoPriority, LeadingPriority(message, length)) << length;
    }
}

// The names the columns show.
TEST(SyslogPriority, EachFacilityAndSeverityHasItsName) {
    std::string facilities;
    for (int facility = 0; facility <= records::kLastFacility; ++facility)
        facilities += std::string(facilities.empty() ? "" : ",") + records::FacilityName(facility);
    EXPECT_EQ("kern,user,mail,daemon,auth,syslog,lpr,news,uucp,cron,authpriv,ftp,ntp,security,console,"
              "solaris-cron,local0,local1,local2,local3,local4,local5,local6,local7",
              facilities);
    std::string severities;
    for (int severity = 0; severity <= records::kLowestSeverity; ++severity)
        severities += std::string(severities.empty() ? "" : ",") + records::SeverityName(severity);
    EXPECT_EQ("Emergency,Alert,Critical,Error,Warning,Notice,Informational,Debug", severities);
}

}  // namespace
