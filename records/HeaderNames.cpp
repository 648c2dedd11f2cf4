// HeaderNames.cpp: ASCII letters folded byte by byte; the code page's own letters stay as they are.
#include "records/HeaderNames.h"

#include <algorithm>
#include <cstddef>

namespace records {

namespace {

unsigned char FoldedAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

int CompareHosts(std::string_view left, std::string_view right) {
    const size_t common = std::min(left.size(), right.size());
    for (size_t at = 0; at < common; ++at) {
        const unsigned char l = FoldedAscii(left[at]);
        const unsigned char r = FoldedAscii(right[at]);
        if (l != r) return l < r ? -1 : 1;
    }
    return left.size() < right.size() ? -1 : left.size() > right.size() ? 1 : 0;
}

}  // namespace records
