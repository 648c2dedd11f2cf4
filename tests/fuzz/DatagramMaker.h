// DatagramMaker.h: hostile datagrams: fixed cases, every length in turn, then random ones.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzRandom.h"

namespace fuzz {

// The largest payload of one UDP datagram over IPv4.
constexpr size_t kLargestDatagram = 65507;

// Cases written out by hand: empty, only line ends, only NULs, NUL first,
// printf directives, quotes and commas, bytes above 127, and the lengths
// around the receive buffer.
std::vector<std::string> FixedDatagrams();

// length random bytes, drawn in one of several manners: any byte; text with
// line ends, quotes, commas and '%' strewn in, but no NUL; printf directives;
// mostly the bytes the trimming and quoting look at. Sometimes it ends in a run
// of CR, LF and NUL, and sometimes starts with one of them.
std::string RandomDatagram(Random& random, size_t length);

// A random length: mostly short or up to a little past the buffer, sometimes
// right at the buffer's edge, sometimes up to the largest datagram.
size_t RandomLength(Random& random);

}  // namespace fuzz
