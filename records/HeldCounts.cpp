// HeldCounts.cpp: a count per sender, gone with its last row; without memory for a new sender it is left out.
#include "records/HeldCounts.h"

#include <algorithm>
#include <new>

#include "records/SyslogPriority.h"

namespace records {

namespace {

constexpr int kLastErrorSeverity = 3;

bool IsError(int priority) {
    return priority != kNoPriority && SeverityOf(priority) <= kLastErrorSeverity;
}

}  // namespace

size_t* HeldCounts::RowsOf(std::uint32_t sender) {
    if (lastRows_ && sender == lastSender_) return lastRows_;
    const auto found = senders_.find(sender);
    if (found == senders_.end()) return nullptr;
    lastSender_ = sender;
    lastRows_ = &found->second;
    return lastRows_;
}

void HeldCounts::Add(std::uint32_t sender, int priority) {
    if (IsError(priority)) ++errors_;
    if (size_t* const rows = RowsOf(sender)) {
        ++*rows;
        return;
    }
    try {
        lastRows_ = &senders_.emplace(sender, 1).first->second;
        lastSender_ = sender;
    } catch (const std::bad_alloc&) {
        lastRows_ = nullptr;
    }
}

void HeldCounts::Remove(std::uint32_t sender, int priority) {
    if (IsError(priority) && errors_ > 0) --errors_;
    size_t* const rows = RowsOf(sender);
    if (!rows) return;  // left out for want of memory
    if (--*rows > 0) return;
    senders_.erase(sender);
    lastRows_ = nullptr;
}

void HeldCounts::Clear() {
    senders_.clear();
    senders_.rehash(0);
    errors_ = 0;
    lastRows_ = nullptr;
}

std::vector<SenderCount> HeldCounts::TopSenders(size_t most) const {
    std::vector<SenderCount> all;
    all.reserve(senders_.size());
    for (const auto& [address, rows] : senders_) all.push_back({address, rows});
    const size_t kept = std::min(most, all.size());
    std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kept), all.end(),
                      [](const SenderCount& left, const SenderCount& right) {
                          if (left.rows != right.rows) return left.rows > right.rows;
                          return AddressOrder(left.address) < AddressOrder(right.address);
                      });
    all.resize(kept);
    return all;
}

}  // namespace records
