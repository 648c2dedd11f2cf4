// SenderCensus.cpp: one pass over the rows; runs of one sender cost no lookup.
#include "records/SenderCensus.h"

#include <algorithm>
#include <unordered_map>

#include "net/DottedQuad.h"

namespace records {

std::uint32_t AddressOrder(std::uint32_t address) {
    return (address & 0xFFu) << 24 | (address & 0xFF00u) << 8 | (address & 0xFF0000u) >> 8 | address >> 24;
}

std::vector<SenderCount> CountSenders(const RecordStore& rows,
                                      const std::vector<std::uint32_t>& alsoListed) {
    std::unordered_map<std::uint32_t, size_t> counts;
    const size_t rowCount = rows.Count();
    size_t index = 0;
    while (index < rowCount) {
        const std::uint32_t address = rows.Row(index).senderAddress;
        size_t run = 1;
        while (index + run < rowCount && rows.Row(index + run).senderAddress == address) ++run;
        counts[address] += run;
        index += run;
    }
    for (const std::uint32_t address : alsoListed) counts.emplace(address, 0);
    std::vector<SenderCount> senders;
    senders.reserve(counts.size());
    for (const auto& [address, count] : counts) senders.push_back({address, count});
    std::sort(senders.begin(), senders.end(), [](const SenderCount& left, const SenderCount& right) {
        return AddressOrder(left.address) < AddressOrder(right.address);
    });
    return senders;
}

std::string SenderCountText(const SenderCount& sender) {
    char address[net::kDottedQuadCapacity];
    net::FormatDottedQuad(sender.address, address);
    return std::string(address) + " (" + std::to_string(sender.rows) + " rows)";
}

}  // namespace records
