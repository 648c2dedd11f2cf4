// Differences.cpp: a short, escaped view of where two byte strings part.
#include "tests/fuzz/Differences.h"

#include <algorithm>
#include <cstdio>

namespace fuzz {

namespace {

constexpr size_t kBytesBefore = 40;
constexpr size_t kBytesShown = 120;

std::string Escaped(const std::string& bytes, size_t from) {
    std::string shown;
    for (size_t i = from; i < bytes.size() && i < from + kBytesShown; ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= ' ' && byte < 0x7F && byte != '\\') {
            shown += static_cast<char>(byte);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            shown += escape;
        }
    }
    return shown;
}

}  // namespace

std::string FirstDifference(const std::string& expected, const std::string& actual) {
    const size_t common = std::min(expected.size(), actual.size());
    size_t at = 0;
    while (at < common && expected[at] == actual[at]) ++at;
    const size_t from = at > kBytesBefore ? at - kBytesBefore : 0;
    return "sizes " + std::to_string(expected.size()) + " and " + std::to_string(actual.size()) +
           ", first difference at byte " + std::to_string(at) + "\n  expected: " + Escaped(expected, from) +
           "\n  actual:   " + Escaped(actual, from);
}

}  // namespace fuzz
