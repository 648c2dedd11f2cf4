// HeldCounts.h: the rows held counted per sender, and those of an error or worse, as rows come and leave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "records/SenderCensus.h"

namespace records {

// Window-free. Kept as each row is held and as it leaves, so no pass over
// the rows is needed to tell them. Runs of one sender, as a busy sender
// sends, cost no lookup.
class HeldCounts {
public:
    HeldCounts() = default;
    HeldCounts(const HeldCounts&) = delete;
    HeldCounts& operator=(const HeldCounts&) = delete;

    // A row of the sender with the priority (LeadingPriority's) is held, or leaves.
    void Add(std::uint32_t sender, int priority);
    void Remove(std::uint32_t sender, int priority);
    void Clear();

    // Rows of severity 0 (emergency) to 3 (error).
    size_t ErrorsHeld() const { return errors_; }
    size_t Senders() const { return senders_.size(); }
    // The senders with the most rows held, most first (ties by address as
    // numbers), at most the number asked for.
    std::vector<SenderCount> TopSenders(size_t most) const;

private:
    size_t* RowsOf(std::uint32_t sender);

    std::unordered_map<std::uint32_t, size_t> senders_;
    size_t errors_ = 0;
    std::uint32_t lastSender_ = 0;
    size_t* lastRows_ = nullptr;  // lastSender_'s count; null once it may have gone
};

}  // namespace records
