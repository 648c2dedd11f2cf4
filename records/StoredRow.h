// StoredRow.h: one row the row book holds, as its record store keeps it, for reading only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace records {

constexpr int kNoRule = -1;

// Valid while the row is held: until it leaves the book or the book is
// cleared. The sender is kept as its address: net::FormatDottedQuad gives
// the text the list shows.
struct StoredRow {
    const char* message;  // zero-terminated, as received less its line end
    size_t messageLength;
    std::uint32_t senderAddress;  // as in in_addr::s_addr
    std::uint64_t receivedAt;     // as a FILETIME: UTC, 100 ns since 1601
    int firstRule = kNoRule;      // the first watch rule it matched: its colours and mark
    bool errorOrWorse = false;    // its leading priority is of severity 0 to 3
};

}  // namespace records
