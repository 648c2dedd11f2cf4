// SyslogHeaderTest.cpp: the fields read from the sample lines, and from headers cut short, damaged or huge.
// Every message is read from bytes that end right before a page no one may touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/SyslogHeader.h"
#include "tests/records/GuardedBytes.h"
#include "tests/records/SyslogSamples.h"

namespace {

using records::FieldSpan;
using records::kNoPriority;
using records::SyslogHeader;
using syslog_samples::Sample;

const char kBom[] = "\xEF\xBB\xBF";

SyslogHeader ReadGuarded(const std::string& bytes) {
    const guarded::GuardedBytes guarded(bytes);
    return records::ReadSyslogHeader(guarded.Data(), guarded.Length());
}

std::string Text(const std::string& bytes, FieldSpan span) {
    if (span.offset > bytes.size() || span.length > bytes.size() - span.offset) return "<past the end>";
    return bytes.substr(span.offset, span.length);
}

// The fields in one line, so that a difference shows at once which one differs.
std::string Fields(const std::string& facility, const std::string& severity, const std::string& time,
                   const std::string& host, const std::string& app, const std::string& pid, const std::string& msgId,
                   const std::string& message) {
    return "facility=" + facility + " severity=" + severity + " time=" + time + " host=" + host + " app=" + app +
           " pid=" + pid + " msgid=" + msgId + " message=" + message;
}

std::string Expected(const Sample& s) {
    return Fields(s.facility, s.severity, s.time, s.host, s.app, s.pid, s.msgId, s.message);
}

std::string FieldsRead(const std::string& datagram) {
    const SyslogHeader h = ReadGuarded(datagram);
    const bool priority = h.priority != kNoPriority;
    return Fields(priority ? records::FacilityName(records::FacilityOf(h.priority)) : "",
                  priority ? records::SeverityName(records::SeverityOf(h.priority)) : "", Text(datagram, h.time),
                  Text(datagram, h.host), Text(datagram, h.app), Text(datagram, h.pid), Text(datagram, h.msgId),
                  Text(datagram, h.message));
}

// Where each field lies, for checks that are about places rather than texts.
std::string Layout(const SyslogHeader& h) {
    const auto place = [](FieldSpan span) {
        return span.length ? std::to_string(span.offset) + "+" + std::to_string(span.length) : std::string("-");
    };
    return "priority=" + std::to_string(h.priority) + " time=" + place(h.time) + " host=" + place(h.host) +
           " app=" + place(h.app) + " pid=" + place(h.pid) + " msgid=" + place(h.msgId) +
           " message=" + std::to_string(h.message.offset) + "+" + std::to_string(h.message.length);
}

const std::vector<Sample>& Samples(std::string& problem) {
    static std::string readProblem;
    static const std::vector<Sample> samples = syslog_samples::Read(readProblem);
    problem = readProblem;
    return samples;
}

TEST(SyslogHeader, EverySampleLineGivesTheFieldsItsFileSays) {
    std::string problem;
    const std::vector<Sample>& samples = Samples(problem);
    ASSERT_FALSE(samples.empty()) << problem;
    for (const Sample& sample : samples)
        EXPECT_EQ(Expected(sample), FieldsRead(sample.datagram)) << "line " << sample.line;
}

// Damaged or bare headers: what cannot be read stays in the message, and no field is made up.
TEST(SyslogHeader, WhatCannotBeReadStaysInTheMessage) {
    const struct {
        std::string datagram;
        std::string fields;
    } cases[] = {
        {"", Fields("", "", "", "", "", "", "", "")},
        {"<", Fields("", "", "", "", "", "", "", "<")},
        {"<13", Fields("", "", "", "", "", "", "", "<13")},
        {"<13>", Fields("user", "Notice", "", "", "", "", "", "")},
        {"<13> ", Fields("user", "Notice", "", "", "", "", "", " ")},
        {"<13>1", Fields("user", "Notice", "", "", "", "", "", "1")},
        {"<13>1 ", Fields("user", "Notice", "", "", "", "", "", "1 ")},
        {"<13>1 -", Fields("user", "Notice", "", "", "", "", "", "")},
        {"<13>1  h a - - - m", Fields("user", "Notice", "", "", "", "", "", "1  h a - - - m")},
        {"<13>0 - h a - - - m", Fields("user", "Notice", "", "", "", "", "", "0 - h a - - - m")},
        {"<013>1 - h a - - - m", Fields("", "", "", "", "", "", "", "<013>1 - h a - - - m")},
        {"<192>1 - h a - - - m", Fields("", "", "", "", "", "", "", "<192>1 - h a - - - m")},
        {"<1913>1 - h a - - - m", Fields("", "", "", "", "", "", "", "<1913>1 - h a - - - m")},
        {"<-1>x", Fields("", "", "", "", "", "", "", "<-1>x")},
        // Structured data that does not end: all of it stays in the message.
        {"<13>1 - h a - - [x@1 a=\"b] m", Fields("user", "Notice", "", "h", "a", "", "", "[x@1 a=\"b] m")},
        {"<13>1 - h a - - [x@1][y@1 m", Fields("user", "Notice", "", "h", "a", "", "", "[x@1][y@1 m")},
        {"<13>1 - h a - - [x@1 a=\"b\\\"]", Fields("user", "Notice", "", "h", "a", "", "", "[x@1 a=\"b\\\"]")},
        {"<13>1 - h a - - [x@1 a=\"b\\", Fields("user", "Notice", "", "h", "a", "", "", "[x@1 a=\"b\\")},
        {"<13>1 - h a - - [", Fields("user", "Notice", "", "h", "a", "", "", "[")},
        {"<13>1 - h a - - [x@1]] m", Fields("user", "Notice", "", "h", "a", "", "", "] m")},
        {"<13>1 - h a - - ]x@1[ m", Fields("user", "Notice", "", "h", "a", "", "", "]x@1[ m")},
        {"<13>1 - h a - - [x@1 a=\"]\"] m", Fields("user", "Notice", "", "h", "a", "", "", "m")},
        // A time cut short or followed by more than a space or a colon is no time.
        {"<13>Dec  8 10:01:0", Fields("user", "Notice", "", "", "", "", "", "Dec  8 10:01:0")},
        {"<13>Dec  8 10:01:02.", Fields("user", "Notice", "", "", "", "", "", "Dec  8 10:01:02.")},
        {"<13>Dec  8 10:01:02:x", Fields("user", "Notice", "", "", "", "", "", "Dec  8 10:01:02:x")},
        {"<13>Dec 123 10:01:02 h a: m", Fields("user", "Notice", "", "", "", "", "", "Dec 123 10:01:02 h a: m")},
        {"<13>2026-12-08T10:01:02+01", Fields("user", "Notice", "", "", "", "", "", "2026-12-08T10:01:02+01")},
        {"<13>52: *", Fields("user", "Notice", "", "", "", "", "", "52: *")},
        {"<13>Dec  8 10:01:02 h a[]: m", Fields("user", "Notice", "Dec  8 10:01:02", "h", "", "", "", "a[]: m")},
        {"<13>Dec  8 10:01:02 h a[1]:", Fields("user", "Notice", "Dec  8 10:01:02", "h", "a", "1", "", "")},
        {"<13>Dec  8 10:01:02 h a:", Fields("user", "Notice", "Dec  8 10:01:02", "h", "a", "", "", "")},
        {"<13>Dec  8 10:01:02 h a[1] m", Fields("user", "Notice", "Dec  8 10:01:02", "h", "", "", "", "a[1] m")},
        {"<13>Dec  8 10:01:02: ", Fields("user", "Notice", "Dec  8 10:01:02", "", "", "", "", "")},
        {"<13>Dec  8 10:01:02  h a: m", Fields("user", "Notice", "Dec  8 10:01:02", "", "", "", "", " h a: m")},
    };
    for (const auto& c : cases) EXPECT_EQ(c.fields, FieldsRead(c.datagram)) << c.datagram;
}

FieldSpan Cut(FieldSpan span, size_t cut) {
    if (span.length == 0 || span.offset >= cut) return {};
    return {span.offset, std::min(span.offset + span.length, cut) - span.offset};
}

size_t WordEnd(const std::string& line, size_t at) {
    const size_t space = line.find(' ', at);
    return space == std::string::npos ? line.size() : space;
}

// Where the parts of a whole RFC 5424 line lie, found by counting its spaces
// and from where its message starts.
struct Places5424 {
    size_t priorityEnd = 0;
    size_t timeEnd = 0;
    size_t data = 0;          // the structured data's first byte; past the end when the line stops before it
    size_t dataEnd = 0;       // the byte after its last
    size_t messageStart = 0;  // with the BOM, if one is there
    bool bom = false;
};

Places5424 Places(const std::string& line, const SyslogHeader& whole) {
    Places5424 places;
    places.priorityEnd = records::PriorityLength(whole.priority);
    places.timeEnd = WordEnd(line, places.priorityEnd + 2);
    places.data = places.priorityEnd;
    for (int word = 0; word < 6 && places.data <= line.size(); ++word) places.data = WordEnd(line, places.data) + 1;
    size_t start = whole.message.offset;
    places.bom = start >= places.data + 3 && line.compare(start - 3, 3, kBom) == 0;
    if (places.bom) start -= 3;
    places.messageStart = start;
    places.dataEnd = start > places.data && line[start - 1] == ' ' ? start - 1 : start;
    return places;
}

// The line read whole as RFC 5424 with structured data that ends ('-' or elements).
bool IsWhole5424(const std::string& line, const SyslogHeader& whole, const Places5424& places) {
    const bool version = line.compare(places.priorityEnd, 2, "1 ") == 0 && whole.priority != kNoPriority;
    const bool read = whole.message.offset != places.priorityEnd;
    return version && read && (places.data > line.size() || places.dataEnd > places.data);
}

// Whether the bytes from data up to cut are whole elements: each "[...]"
// ends at a ']' outside quotes, and in quotes a backslash escapes the next byte.
bool WholeElements(const std::string& line, size_t data, size_t cut) {
    bool inside = false;
    bool quoted = false;
    for (size_t at = data; at < cut; ++at) {
        const char c = line[at];
        if (!inside) {
            if (c != '[') return false;
            inside = true;
        } else if (quoted && c == '\\') {
            ++at;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ']') {
            inside = false;
        }
    }
    return !inside;
}

// What the line cut after `cut` bytes must give when its header is read:
// each field cut where the line is, and the message by where the cut falls.
SyslogHeader ReadSoFar(const std::string& line, const SyslogHeader& whole, const Places5424& places, size_t cut) {
    SyslogHeader expected = whole;
    for (FieldSpan* field : {&expected.time, &expected.host, &expected.app, &expected.pid, &expected.msgId})
        *field = Cut(*field, cut);
    const bool inData = cut > places.data && cut < places.dataEnd;
    if (cut <= places.data || (inData && WholeElements(line, places.data, cut)) ||
        (cut >= places.dataEnd && cut <= places.messageStart))
        expected.message = {cut, 0};
    else if (cut < places.dataEnd)
        expected.message = {places.data, cut - places.data};
    else if (places.bom && cut >= places.messageStart + 3)
        expected.message = {places.messageStart + 3, cut - places.messageStart - 3};
    else
        expected.message = {places.messageStart, cut - places.messageStart};
    return expected;
}

// The same line when neither the version nor the time could be read yet.
SyslogHeader NothingRead(const SyslogHeader& whole, const Places5424& places, size_t cut) {
    SyslogHeader expected;
    if (cut < places.priorityEnd) {
        expected.message = {0, cut};
    } else {
        expected.priority = whole.priority;
        expected.message = {places.priorityEnd, cut - places.priorityEnd};
    }
    return expected;
}

TEST(SyslogHeader, AnRfc5424LineCutAtEveryByteGivesTheFieldsUpToTheCut) {
    std::string problem;
    const std::vector<Sample>& samples = Samples(problem);
    ASSERT_FALSE(samples.empty()) << problem;
    int lines = 0;
    for (const Sample& sample : samples) {
        const std::string& line = sample.datagram;
        const SyslogHeader whole = ReadGuarded(line);
        const Places5424 places = Places(line, whole);
        if (!IsWhole5424(line, whole, places)) continue;
        ++lines;
        for (size_t cut = 0; cut <= line.size(); ++cut) {
            const std::string read = Layout(ReadGuarded(line.substr(0, cut)));
            const std::string soFar = Layout(ReadSoFar(line, whole, places, cut));
            const std::string nothing = Layout(NothingRead(whole, places, cut));
            if (cut < places.priorityEnd + 2)
                EXPECT_EQ(nothing, read) << "line " << sample.line << " cut after " << cut;
            else if (cut < places.timeEnd && read == nothing)
                continue;  // the time cut short may or may not still be a time
            else
                EXPECT_EQ(soFar, read) << "line " << sample.line << " cut after " << cut;
        }
    }
    EXPECT_GE(lines, 12) << "the sample file's RFC 5424 lines";
}

TEST(SyslogHeader, EverySampleCutAtEveryByteIsReadWithinTheBytesLeft) {
    std::string problem;
    const std::vector<Sample>& samples = Samples(problem);
    ASSERT_FALSE(samples.empty()) << problem;
    for (const Sample& sample : samples) {
        for (size_t cut = 0; cut <= sample.datagram.size(); ++cut) {
            const std::string part = sample.datagram.substr(0, cut);
            const std::string fields = FieldsRead(part);
            EXPECT_EQ(std::string::npos, fields.find("<past the end>")) << "line " << sample.line << ": " << part;
        }
    }
}

TEST(SyslogHeader, HugeMessagesAreReadInOnePassWithinTheirBytes) {
    const size_t huge = 4 << 20;
    const std::string digits(huge, '7');
    const std::string word(huge, 'a');
    const std::string brackets(huge, '[');
    const std::string time = "<13>Dec  8 10:01:02 ";
    const std::string header5424 = "<13>1 - h a - - ";
    const struct {
        std::string datagram;
        std::string layout;
    } cases[] = {
        {"<" + digits + ">", "priority=-1 time=- host=- app=- pid=- msgid=- message=0+" + std::to_string(huge + 2)},
        {"<13>" + digits, "priority=13 time=- host=- app=- pid=- msgid=- message=4+" + std::to_string(huge)},
        {"<13>" + digits + ": Dec  8 10:01:02 m",
         "priority=13 time=" + std::to_string(huge + 6) + "+15 host=- app=- pid=- msgid=- message=" +
             std::to_string(huge + 22) + "+1"},
        {time + word, "priority=13 time=4+15 host=- app=- pid=- msgid=- message=20+" + std::to_string(huge)},
        {time + word + ": m",
         "priority=13 time=4+15 host=- app=20+" + std::to_string(huge) + " pid=- msgid=- message=" +
             std::to_string(huge + 22) + "+1"},
        {time + "h a[" + digits,
         "priority=13 time=4+15 host=20+1 app=- pid=- msgid=- message=22+" + std::to_string(huge + 2)},
        {time + "h a[" + digits + "]: m",
         "priority=13 time=4+15 host=20+1 app=22+1 pid=24+" + std::to_string(huge) + " msgid=- message=" +
             std::to_string(huge + 27) + "+1"},
        {header5424 + brackets,
         "priority=13 time=- host=8+1 app=10+1 pid=- msgid=- message=16+" + std::to_string(huge)},
        {"<13>1 - " + word + " a - - - m",
         "priority=13 time=- host=8+" + std::to_string(huge) + " app=" + std::to_string(huge + 9) +
             "+1 pid=- msgid=- message=" + std::to_string(huge + 17) + "+1"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.layout, Layout(ReadGuarded(c.datagram))) << c.datagram.substr(0, 40);
}

}  // namespace
