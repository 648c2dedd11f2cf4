// WatchRuleText.cpp: a rule's fields, each written and read by one entry of a table, so both sides agree.
#include "records/WatchRuleText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "net/DottedQuad.h"

namespace records {

namespace {

constexpr wchar_t kFieldSeparator = L';';
constexpr wchar_t kValueSeparator = L'=';
constexpr wchar_t kListSeparator = L',';
constexpr wchar_t kQuadSeparator = L'.';
constexpr wchar_t kEscape = L'%';
constexpr wchar_t kColourMark = L'#';
const wchar_t kHexDigits[] = L"0123456789ABCDEF";
const wchar_t kAnySeverityText[] = L"any";
const wchar_t kListColourText[] = L"list";
constexpr size_t kColourDigits = 6;  // RRGGBB
constexpr unsigned kMostInQuad = 255;
constexpr size_t kMostQuadDigits = 3;
constexpr int kQuadParts = 4;

enum class Reading { kRead, kBadValue, kBadEscape };

// The bytes that would end a field or start an escape, and those a line of the
// file in its code page would not carry back unchanged.
bool NeedsEscape(unsigned char byte) {
    return byte == '%' || byte == ';' || byte < 0x20 || byte >= 0x7F;
}

// In a list of names, the separator too.
bool NeedsEscapeInName(unsigned char byte) {
    return NeedsEscape(byte) || byte == kListSeparator;
}

void WriteHexByte(unsigned byte, std::wstring& out) {
    out += kHexDigits[byte >> 4 & 0xFu];
    out += kHexDigits[byte & 0xFu];
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

void WriteBytes(const std::string& bytes, std::wstring& out, bool (*needsEscape)(unsigned char) = NeedsEscape) {
    for (const char c : bytes) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            out += kEscape;
            WriteHexByte(byte, out);
        } else {
            out += static_cast<wchar_t>(byte);
        }
    }
}

Reading ReadBytes(std::wstring_view value, std::string& bytes) {
    std::string read;
    for (size_t at = 0; at < value.size(); ++at) {
        const wchar_t c = value[at];
        if (c == kEscape) {
            const int high = at + 2 < value.size() ? HexDigit(value[at + 1]) : -1;
            const int low = high >= 0 ? HexDigit(value[at + 2]) : -1;
            if (low < 0) return Reading::kBadEscape;
            read += static_cast<char>(high << 4 | low);
            at += 2;
        } else if (c < 0x20 || c >= 0x7F) {
            return Reading::kBadValue;  // written escaped, never as it stands
        } else {
            read += static_cast<char>(c);
        }
    }
    bytes = std::move(read);
    return Reading::kRead;
}

void WriteFlag(bool on, std::wstring& out) {
    out += on ? L'1' : L'0';
}

Reading ReadFlag(std::wstring_view value, bool& on) {
    if (value != L"0" && value != L"1") return Reading::kBadValue;
    on = value == L"1";
    return Reading::kRead;
}

void WriteSeverity(int lowest, std::wstring& out) {
    if (lowest >= 0 && lowest <= kLowestSeverity)
        out += static_cast<wchar_t>(L'0' + lowest);
    else
        out += kAnySeverityText;
}

Reading ReadSeverity(std::wstring_view value, int& lowest) {
    if (value == kAnySeverityText) {
        lowest = kAnySeverity;
    } else if (value.size() == 1 && value[0] >= L'0' && value[0] <= L'0' + kLowestSeverity) {
        lowest = value[0] - L'0';
    } else {
        return Reading::kBadValue;
    }
    return Reading::kRead;
}

void WriteSenders(const std::vector<std::uint32_t>& senders, std::wstring& out) {
    for (size_t index = 0; index < senders.size(); ++index) {
        if (index) out += kListSeparator;
        char quad[net::kDottedQuadCapacity];
        net::FormatDottedQuad(senders[index], quad);
        for (const char* c = quad; *c; ++c) out += static_cast<wchar_t>(*c);
    }
}

// Hosts or apps: each name escaped, a ',' between them.
void WriteNames(const std::vector<std::string>& names, std::wstring& out) {
    for (size_t index = 0; index < names.size(); ++index) {
        if (index) out += kListSeparator;
        WriteBytes(names[index], out, NeedsEscapeInName);
    }
}

Reading ReadNames(std::wstring_view value, std::vector<std::string>& names) {
    std::vector<std::string> read;
    while (!value.empty()) {
        const size_t end = value.find(kListSeparator);
        std::string name;
        const Reading reading = ReadBytes(value.substr(0, end), name);
        if (reading != Reading::kRead) return reading;
        if (name.empty()) return Reading::kBadValue;  // no header names an empty host or app
        read.push_back(std::move(name));
        if (end == std::wstring_view::npos) break;
        value.remove_prefix(end + 1);
        if (value.empty()) return Reading::kBadValue;  // a ',' with no name after it
    }
    names = std::move(read);
    return Reading::kRead;
}

// One number of a dotted quad as FormatDottedQuad writes it: no leading zeros, at most 255.
bool ReadQuadPart(std::wstring_view digits, unsigned& number) {
    if (digits.empty() || digits.size() > kMostQuadDigits || (digits.size() > 1 && digits[0] == L'0')) return false;
    number = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9') return false;
        number = number * 10 + static_cast<unsigned>(c - L'0');
    }
    return number <= kMostInQuad;
}

bool ReadDottedQuad(std::wstring_view text, std::uint32_t& address) {
    address = 0;
    for (int part = 0; part < kQuadParts; ++part) {
        const size_t end = part + 1 < kQuadParts ? text.find(kQuadSeparator) : text.size();
        unsigned number = 0;
        if (end == std::wstring_view::npos || !ReadQuadPart(text.substr(0, end), number)) return false;
        address |= static_cast<std::uint32_t>(number) << (8 * part);
        text.remove_prefix(end == text.size() ? end : end + 1);
    }
    return true;
}

Reading ReadSenders(std::wstring_view value, std::vector<std::uint32_t>& senders) {
    std::vector<std::uint32_t> read;
    while (!value.empty()) {
        const size_t end = value.find(kListSeparator);
        std::uint32_t address = 0;
        if (!ReadDottedQuad(value.substr(0, end), address)) return Reading::kBadValue;
        read.push_back(address);
        if (end == std::wstring_view::npos) break;
        value.remove_prefix(end + 1);
        if (value.empty()) return Reading::kBadValue;  // a ',' with no sender after it
    }
    senders = std::move(read);
    return Reading::kRead;
}

// #RRGGBB, as HTML writes it; held as the system's 0x00BBGGRR.
void WriteColour(std::uint32_t colour, std::wstring& out) {
    if (colour == kListColour) {
        out += kListColourText;
        return;
    }
    out += kColourMark;
    for (int shift = 0; shift <= 16; shift += 8) WriteHexByte(colour >> shift & 0xFFu, out);
}

Reading ReadColour(std::wstring_view value, std::uint32_t& colour) {
    if (value == kListColourText) {
        colour = kListColour;
        return Reading::kRead;
    }
    if (value.size() != 1 + kColourDigits || value[0] != kColourMark) return Reading::kBadValue;
    std::uint32_t read = 0;
    for (size_t digit = 0; digit < kColourDigits; ++digit) {
        const int nibble = HexDigit(value[1 + digit]);
        if (nibble < 0) return Reading::kBadValue;
        // digit 0 is the high nibble of red, the lowest byte in memory
        const size_t shift = 8 * (digit / 2) + (digit % 2 ? 0 : 4);
        read |= static_cast<std::uint32_t>(nibble) << shift;
    }
    colour = read;
    return Reading::kRead;
}

struct FieldForm {
    const wchar_t* name;
    void (*write)(const WatchRule& rule, std::wstring& out);
    Reading (*read)(std::wstring_view value, WatchRule& rule);
    // Null: the field is always written, and must be read. Otherwise it is
    // written only when this answers true, and reads as the rule's default
    // when missing, so that rules written without it read as before.
    bool (*written)(const WatchRule& rule) = nullptr;
};

bool HostsSet(const WatchRule& rule) {
    return !rule.conditions.hosts.empty() || rule.conditions.hideHosts;
}

bool AppsSet(const WatchRule& rule) {
    return !rule.conditions.apps.empty() || rule.conditions.hideApps;
}

// The fields in the order they are written.
const FieldForm kFields[] = {
    {L"name", [](const WatchRule& r, std::wstring& out) { WriteBytes(r.name, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadBytes(v, r.name); }},
    {L"show", [](const WatchRule& r, std::wstring& out) { WriteBytes(r.conditions.showText, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadBytes(v, r.conditions.showText); }},
    {L"hide", [](const WatchRule& r, std::wstring& out) { WriteBytes(r.conditions.hideText, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadBytes(v, r.conditions.hideText); }},
    {L"case", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.conditions.matchCase, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.conditions.matchCase); }},
    {L"severity", [](const WatchRule& r, std::wstring& out) { WriteSeverity(r.conditions.lowestSeverity, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadSeverity(v, r.conditions.lowestSeverity); }},
    {L"senders", [](const WatchRule& r, std::wstring& out) { WriteSenders(r.conditions.senders, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadSenders(v, r.conditions.senders); }},
    {L"hidesenders", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.conditions.hideSenders, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.conditions.hideSenders); }},
    {L"hosts", [](const WatchRule& r, std::wstring& out) { WriteNames(r.conditions.hosts, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadNames(v, r.conditions.hosts); }, HostsSet},
    {L"hidehosts", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.conditions.hideHosts, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.conditions.hideHosts); }, HostsSet},
    {L"apps", [](const WatchRule& r, std::wstring& out) { WriteNames(r.conditions.apps, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadNames(v, r.conditions.apps); }, AppsSet},
    {L"hideapps", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.conditions.hideApps, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.conditions.hideApps); }, AppsSet},
    {L"text", [](const WatchRule& r, std::wstring& out) { WriteColour(r.textColour, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadColour(v, r.textColour); }},
    {L"background", [](const WatchRule& r, std::wstring& out) { WriteColour(r.backgroundColour, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadColour(v, r.backgroundColour); }},
    {L"mark", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.mark, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.mark); }},
    {L"flash", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.flash, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.flash); }},
    {L"notify", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.notify, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.notify); }},
    {L"beep", [](const WatchRule& r, std::wstring& out) { WriteFlag(r.beep, out); },
     [](std::wstring_view v, WatchRule& r) { return ReadFlag(v, r.beep); }},
};
constexpr size_t kFieldCount = sizeof kFields / sizeof kFields[0];

std::wstring AboutField(const wchar_t* before, std::wstring_view name, const wchar_t* after) {
    std::wstring why = before;
    why += L'"';
    why += name;
    why += L'"';
    why += after;
    return why;
}

// Reads one "name=value" part into the rule; false with the reason.
bool ReadField(std::wstring_view part, bool (&seen)[kFieldCount], WatchRule& rule, std::wstring& why) {
    if (part.empty()) {
        why = L"empty field";
        return false;
    }
    const size_t equals = part.find(kValueSeparator);
    const std::wstring_view name = part.substr(0, equals);
    size_t field = 0;
    while (field < kFieldCount && name != kFields[field].name) ++field;
    if (field == kFieldCount) {
        why = AboutField(L"unknown field ", name, L"");
        return false;
    }
    if (equals == std::wstring_view::npos) {
        why = AboutField(L"field ", name, L" has no \"=\"");
        return false;
    }
    if (seen[field]) {
        why = AboutField(L"field ", name, L" repeated");
        return false;
    }
    seen[field] = true;
    switch (kFields[field].read(part.substr(equals + 1), rule)) {
    case Reading::kRead:
        return true;
    case Reading::kBadValue:
        why = AboutField(L"bad value in field ", name, L"");
        return false;
    case Reading::kBadEscape:
        why = AboutField(L"bad escape in field ", name, L"");
        return false;
    }
    return false;
}

}  // namespace

std::wstring WatchRuleText(const WatchRule& rule) {
    std::wstring text;
    for (size_t field = 0; field < kFieldCount; ++field) {
        if (kFields[field].written && !kFields[field].written(rule)) continue;
        if (!text.empty()) text += kFieldSeparator;
        text += kFields[field].name;
        text += kValueSeparator;
        kFields[field].write(rule, text);
    }
    return text;
}

bool ReadWatchRuleText(const std::wstring& text, WatchRule& rule, std::wstring& why) {
    WatchRule read;
    bool seen[kFieldCount] = {};
    std::wstring_view rest(text);
    while (!text.empty()) {
        const size_t end = rest.find(kFieldSeparator);
        if (!ReadField(rest.substr(0, end), seen, read, why)) return false;
        if (end == std::wstring_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    for (size_t field = 0; field < kFieldCount; ++field) {
        if (seen[field] || kFields[field].written) continue;
        why = AboutField(L"field ", kFields[field].name, L" missing");
        return false;
    }
    rule = std::move(read);
    return true;
}

}  // namespace records
