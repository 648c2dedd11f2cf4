// BenchLine.h: the numbered syslog line the benchmarks post, as bench/load.py sends it.
#pragma once

#include <cstdio>
#include <string>

namespace bench {

// Every line is this long, as a typical short syslog message.
constexpr size_t kLineBytes = 120;

// "<13>Dec  7 12:00:00 bench load: seq=0000012345 " padded with 'x' to kLineBytes.
inline std::string BenchLine(unsigned long sequence) {
    char head[64];
    const int length = std::snprintf(head, sizeof head, "<13>Dec  7 12:00:00 bench load: seq=%010lu ", sequence);
    std::string line(head, static_cast<size_t>(length));
    line.resize(kLineBytes, 'x');
    return line;
}

}  // namespace bench
