// SenderCensus.h: every sender among the stored rows, with how many rows each sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "records/RecordStore.h"

namespace records {

struct SenderCount {
    std::uint32_t address;  // as in in_addr::s_addr
    size_t rows;
};

// The address with its first number in the highest byte, so that addresses compare as numbers.
std::uint32_t AddressOrder(std::uint32_t address);

// Each sender of the rows once, and each of alsoListed that sent none with 0
// rows, sorted by address as numbers (10.0.0.9 before 10.0.0.10).
std::vector<SenderCount> CountSenders(const RecordStore& rows,
                                      const std::vector<std::uint32_t>& alsoListed = {});

// "a.b.c.d (N rows)".
std::string SenderCountText(const SenderCount& sender);

}  // namespace records
