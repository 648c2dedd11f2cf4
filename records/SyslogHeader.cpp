// SyslogHeader.cpp: one pass over the header's bytes; a form that does not fit leaves the rest to the message.
#include "records/SyslogHeader.h"

namespace records {

namespace {

const char kNilValue = '-';
const char kBom[] = "\xEF\xBB\xBF";
constexpr size_t kBomLength = sizeof kBom - 1;
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr size_t kMonthLength = 3;

// The bytes of one message and a reader's place in them; nothing at or past length is read.
struct Bytes {
    const char* text;
    size_t length;

    bool Is(size_t at, char c) const { return at < length && text[at] == c; }
    bool IsDigit(size_t at) const { return at < length && text[at] >= '0' && text[at] <= '9'; }
    bool EndsAt(size_t at) const { return at >= length; }
};

FieldSpan Span(size_t from, size_t to) {
    return FieldSpan{from, to - from};
}

// The position after count digits from at, or 0 when they are not all there.
size_t SkipDigits(const Bytes& bytes, size_t at, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (!bytes.IsDigit(at + i)) return 0;
    return at + count;
}

// The position after one or more digits from at, or 0.
size_t SkipDigitRun(const Bytes& bytes, size_t at) {
    size_t end = at;
    while (bytes.IsDigit(end)) ++end;
    return end > at ? end : 0;
}

// The position after "hh:mm:ss" and an optional ".fff", or 0.
size_t SkipClock(const Bytes& bytes, size_t at) {
    at = SkipDigits(bytes, at, 2);
    if (!at || !bytes.Is(at, ':')) return 0;
    at = SkipDigits(bytes, at + 1, 2);
    if (!at || !bytes.Is(at, ':')) return 0;
    at = SkipDigits(bytes, at + 1, 2);
    if (!at) return 0;
    if (bytes.Is(at, '.') && bytes.IsDigit(at + 1)) at = SkipDigitRun(bytes, at + 1);
    return at;
}

// The position after "Mmm dd [yyyy ]hh:mm:ss[.fff]" (the day one digit, or
// two, or space-padded), or 0.
size_t SkipTraditionalTime(const Bytes& bytes, size_t at) {
    if (bytes.length - at < kMonthLength) return 0;
    bool month = false;
    for (const char* name : kMonths)
        month = month || (bytes.text[at] == name[0] && bytes.text[at + 1] == name[1] && bytes.text[at + 2] == name[2]);
    at += kMonthLength;
    if (!month || !bytes.Is(at, ' ')) return 0;
    ++at;
    if (bytes.Is(at, ' ')) ++at;
    const size_t day = at;
    at = SkipDigitRun(bytes, at);
    if (!at || at - day > 2 || !bytes.Is(at, ' ')) return 0;
    ++at;
    const size_t year = SkipDigits(bytes, at, 4);
    if (year && bytes.Is(year, ' ')) at = year + 1;
    return SkipClock(bytes, at);
}

// The position after "yyyy-mm-ddThh:mm:ss[.fff][Z|+hh:mm|+hhmm]", or 0.
size_t SkipIsoTime(const Bytes& bytes, size_t at) {
    at = SkipDigits(bytes, at, 4);
    if (!at || !bytes.Is(at, '-')) return 0;
    at = SkipDigits(bytes, at + 1, 2);
    if (!at || !bytes.Is(at, '-')) return 0;
    at = SkipDigits(bytes, at + 1, 2);
    if (!at || !bytes.Is(at, 'T')) return 0;
    at = SkipClock(bytes, at + 1);
    if (!at) return 0;
    if (bytes.Is(at, 'Z')) return at + 1;
    if (!bytes.Is(at, '+') && !bytes.Is(at, '-')) return at;
    size_t zone = SkipDigits(bytes, at + 1, 2);
    if (!zone) return at;
    if (bytes.Is(zone, ':')) ++zone;
    zone = SkipDigits(bytes, zone, 2);
    return zone ? zone : at;
}

// The end of the run of bytes from at up to the next space or the end.
size_t WordEnd(const Bytes& bytes, size_t at) {
    while (at < bytes.length && bytes.text[at] != ' ') ++at;
    return at;
}

// A field of the RFC 5424 header: the word from at, empty when it is the nil value.
FieldSpan Field5424(const Bytes& bytes, size_t at, size_t end) {
    return end - at == 1 && bytes.text[at] == kNilValue ? FieldSpan{} : Span(at, end);
}

// The position after the structured data's elements from at, each "[...]"
// with quoted values in which a backslash escapes the next byte; 0 when an
// element does not end.
size_t SkipElements(const Bytes& bytes, size_t at) {
    while (bytes.Is(at, '[')) {
        bool quoted = false;
        for (++at;; ++at) {
            if (bytes.EndsAt(at)) return 0;
            const char c = bytes.text[at];
            if (quoted && c == '\\') {
                ++at;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && c == ']') {
                break;
            }
        }
        ++at;
    }
    return at;
}

// The message from at, less a UTF-8 BOM at its start.
FieldSpan MessageFrom(const Bytes& bytes, size_t at) {
    if (bytes.length - at >= kBomLength && bytes.text[at] == kBom[0] && bytes.text[at + 1] == kBom[1] &&
        bytes.text[at + 2] == kBom[2])
        at += kBomLength;
    return Span(at, bytes.length);
}

// "1 TIMESTAMP HOST APP PROCID MSGID SD MSG" from at, where the words may stop
// early; false when the version or the time is not there.
bool Read5424(const Bytes& bytes, size_t at, SyslogHeader& header) {
    if (!bytes.Is(at, '1') || !bytes.Is(at + 1, ' ')) return false;
    at += 2;
    size_t end = WordEnd(bytes, at);
    const bool nilTime = end - at == 1 && bytes.text[at] == kNilValue;
    if (!nilTime && (end == at || SkipIsoTime(bytes, at) != end)) return false;
    header.time = Field5424(bytes, at, end);
    FieldSpan* const words[] = {&header.host, &header.app, &header.pid, &header.msgId};
    for (FieldSpan* word : words) {
        if (bytes.EndsAt(end)) break;
        at = end + 1;
        end = WordEnd(bytes, at);
        *word = Field5424(bytes, at, end);
    }
    header.message = Span(bytes.length, bytes.length);
    if (bytes.EndsAt(end) || bytes.EndsAt(end + 1)) return true;
    const size_t data = end + 1;
    size_t after = 0;
    if (bytes.Is(data, kNilValue) && (bytes.EndsAt(data + 1) || bytes.Is(data + 1, ' ')))
        after = data + 1;
    else
        after = SkipElements(bytes, data);
    if (!after) {
        header.message = Span(data, bytes.length);
        return true;
    }
    if (bytes.Is(after, ' ')) ++after;
    header.message = MessageFrom(bytes, after);
    return true;
}

// A byte of a tag's name or pid: printable, no space, no bracket.
bool IsTagByte(char c) {
    return static_cast<unsigned char>(c) > ' ' && c != '[' && c != ']';
}

// A tag from at: a name followed by ':' or "[pid]:", then a space or the
// end. Gives the position after it, or 0.
size_t ReadTag(const Bytes& bytes, size_t at, SyslogHeader& header) {
    size_t end = at;
    while (end < bytes.length && IsTagByte(bytes.text[end]) && bytes.text[end] != ':') ++end;
    if (end == at) return 0;
    FieldSpan pid;
    size_t colon = end;
    if (bytes.Is(end, '[')) {
        size_t close = end + 1;
        while (close < bytes.length && IsTagByte(bytes.text[close])) ++close;
        if (close == end + 1 || !bytes.Is(close, ']')) return 0;
        pid = Span(end + 1, close);
        colon = close + 1;
    }
    if (!bytes.Is(colon, ':') || !(bytes.EndsAt(colon + 1) || bytes.Is(colon + 1, ' '))) return 0;
    header.app = Span(at, end);
    header.pid = pid;
    return bytes.EndsAt(colon + 1) ? colon + 1 : colon + 2;
}

// "[seq: ][*]TIME[:] [HOST ][TAG: ]MSG" from at; nothing when no time is there.
void ReadTraditional(const Bytes& bytes, size_t at, SyslogHeader& header) {
    const size_t sequence = SkipDigitRun(bytes, at);
    if (sequence && bytes.Is(sequence, ':') && bytes.Is(sequence + 1, ' ')) at = sequence + 2;
    if (bytes.Is(at, '*') || bytes.Is(at, '.')) ++at;
    size_t end = SkipTraditionalTime(bytes, at);
    if (!end) end = SkipIsoTime(bytes, at);
    if (!end) return;
    const size_t afterTime = bytes.Is(end, ':') ? end + 1 : end;
    if (!bytes.EndsAt(afterTime) && !bytes.Is(afterTime, ' ')) return;
    header.time = Span(at, end);
    at = bytes.EndsAt(afterTime) ? afterTime : afterTime + 1;
    size_t rest = ReadTag(bytes, at, header);
    if (!rest) {
        const size_t hostEnd = WordEnd(bytes, at);
        rest = at;
        if (hostEnd > at && bytes.Is(hostEnd, ' ')) {
            header.host = Span(at, hostEnd);
            rest = hostEnd + 1;
            const size_t tagged = ReadTag(bytes, rest, header);
            if (tagged) rest = tagged;
        }
    }
    header.message = Span(rest, bytes.length);
}

}  // namespace

SyslogHeader ReadSyslogHeader(const char* message, size_t length) {
    SyslogHeader header;
    header.message = Span(0, length);
    header.priority = LeadingPriority(message, length);
    if (header.priority == kNoPriority) return header;
    const Bytes bytes{message, length};
    const size_t at = PriorityLength(header.priority);
    header.message = Span(at, length);
    if (!Read5424(bytes, at, header)) ReadTraditional(bytes, at, header);
    return header;
}

}  // namespace records
