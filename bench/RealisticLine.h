// RealisticLine.h: syslog lines as a busy network sends them, for the filter's figures.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

constexpr unsigned kRealisticSenders = 50;
// One row in this many holds kRareWord: a text filter on it passes 1 %.
constexpr unsigned long kRareEvery = 100;
constexpr char kRareWord[] = "quarantine";
// Row i has severity i % kPriorityKinds; the last kind is a row without a priority.
constexpr unsigned kPriorityKinds = 9;

// The sender of row i, as in in_addr::s_addr: 10.20.0.1 to 10.20.0.50, in no simple order.
inline std::uint32_t RealisticSender(unsigned long row) {
    const unsigned host = 1 + static_cast<unsigned>((row * 7 + row / 13) % kRealisticSenders);
    return 10u | 20u << 8 | 0u << 16 | static_cast<std::uint32_t>(host) << 24;
}

// The host row i's header names: host00 to host49.
inline std::string RealisticHost(unsigned long row) {
    char host[16];
    std::snprintf(host, sizeof host, "host%02u", static_cast<unsigned>(row % kRealisticSenders));
    return host;
}

// Lengths spread from 60 to 180 bytes around a median of 120, the facility
// varying, every severity and some rows without a priority.
inline std::string RealisticLine(unsigned long row) {
    static const char* const kWords[] = {"link", "session", "opened", "closed", "for", "user", "port",
                                         "state", "changed", "to", "up", "down", "retry", "timeout",
                                         "config", "reloaded", "client", "request", "served", "ok"};
    constexpr unsigned kWordCount = sizeof kWords / sizeof kWords[0];
    const unsigned kind = static_cast<unsigned>(row % kPriorityKinds);
    const unsigned facility = static_cast<unsigned>((row / kPriorityKinds) % 24);
    char head[96];
    int length;
    const std::string host = RealisticHost(row);
    if (kind == kPriorityKinds - 1)
        length = std::snprintf(head, sizeof head, "Dec  7 12:%02lu:%02lu %s daemon[%lu]: ", row / 60 % 60,
                               row % 60, host.c_str(), 1000 + row % 9000);
    else
        length = std::snprintf(head, sizeof head, "<%u>Dec  7 12:%02lu:%02lu %s daemon[%lu]: ",
                               facility * 8 + kind, row / 60 % 60, row % 60, host.c_str(), 1000 + row % 9000);
    std::string line(head, static_cast<size_t>(length));
    if (row % kRareEvery == kRareEvery / 3) line += std::string(kRareWord) + " ";
    const size_t wanted = 60 + (row * 2654435761u >> 7) % 121;  // 60 to 180 bytes
    for (unsigned long word = row; line.size() < wanted; word = word * 31 + 7) {
        line += kWords[word % kWordCount];
        line += ' ';
    }
    line.resize(wanted);
    return line;
}

}  // namespace bench
