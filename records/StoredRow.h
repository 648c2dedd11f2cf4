// StoredRow.h: one row of the Message list as its record store keeps it, for reading only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace records {

// Valid until the store is cleared. The sender is kept as its address:
// net::FormatDottedQuad gives the text the list shows.
struct StoredRow {
    const char* message;  // zero-terminated, as received less its line end
    size_t messageLength;
    std::uint32_t senderAddress;  // as in in_addr::s_addr
    std::uint64_t receivedAt;     // as a FILETIME: UTC, 100 ns since 1601
};

}  // namespace records
