// HeldCounts.h: the rows held counted per sender, and those of an error or worse, as rows come and leave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/SenderCensus.h"

namespace records {

// Window-free. Kept as each row is held and as it leaves, so no pass over
// the rows is needed to tell them. The senders are kept in one open table
// that finds a sender without a walk through the heap, since every row
// held and every row leaving looks its sender up; a sender goes with its
// last row.
class HeldCounts {
public:
    HeldCounts() = default;
    HeldCounts(const HeldCounts&) = delete;
    HeldCounts& operator=(const HeldCounts&) = delete;

    // A row of the sender, an error or worse or not, is held, or leaves.
    // Without memory for a new sender's place, its rows are left out.
    void Add(std::uint32_t sender, bool errorOrWorse);
    void Remove(std::uint32_t sender, bool errorOrWorse);
    void Clear();

    // Rows of severity 0 (emergency) to 3 (error).
    size_t ErrorsHeld() const { return errors_; }
    size_t Senders() const { return senders_; }
    // The senders with the most rows held, most first (ties by address as
    // numbers), at most the number asked for.
    std::vector<SenderCount> TopSenders(size_t most) const;

private:
    struct Place {
        std::uint32_t sender;
        size_t rows;  // 0: a free place
    };

    size_t Home(std::uint32_t sender) const;
    // The sender's place, or the free place where it would go.
    size_t Find(std::uint32_t sender) const;
    bool Grow();
    void Free(size_t place);

    std::vector<Place> places_;  // a power of two of them, at most half taken
    size_t senders_ = 0;
    size_t errors_ = 0;
};

}  // namespace records
