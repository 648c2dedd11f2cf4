// DottedQuad.cpp: written by hand, since the list formats the sender of every "From" cell it shows.
#include "net/DottedQuad.h"

namespace net {

namespace {

char* WriteNumber(unsigned number, char* out) {
    if (number >= 100) *out++ = static_cast<char>('0' + number / 100);
    if (number >= 10) *out++ = static_cast<char>('0' + number / 10 % 10);
    *out++ = static_cast<char>('0' + number % 10);
    return out;
}

}  // namespace

size_t FormatDottedQuad(std::uint32_t address, char (&text)[kDottedQuadCapacity]) {
    char* out = text;
    for (int part = 0; part < 4; ++part) {
        if (part) *out++ = '.';
        out = WriteNumber((address >> (8 * part)) & 0xFFu, out);
    }
    *out = '\0';
    return static_cast<size_t>(out - text);
}

}  // namespace net
