// DottedQuad.h: an IPv4 address as the four numbers users read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace net {

constexpr size_t kDottedQuadCapacity = 16;  // "255.255.255.255" and its terminator

// The address as in in_addr::s_addr (first number in the lowest byte), written
// as "a.b.c.d" and terminated; answers the length written.
size_t FormatDottedQuad(std::uint32_t address, char (&text)[kDottedQuadCapacity]);

}  // namespace net
