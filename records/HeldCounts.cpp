// HeldCounts.cpp: linear probing over a power-of-two table; a freed place takes the entries after it that belong before it.
#include "records/HeldCounts.h"

#include <algorithm>
#include <new>

namespace records {

namespace {

constexpr size_t kFirstPlaces = 64;

// Every bit of the address stirred into every bit of the result: addresses
// differ in their last number, which an address keeps in its highest byte.
std::uint32_t Stirred(std::uint32_t address) {
    address ^= address >> 16;
    address *= 0x7FEB352Du;
    address ^= address >> 15;
    address *= 0x846CA68Bu;
    address ^= address >> 16;
    return address;
}

}  // namespace

size_t HeldCounts::Home(std::uint32_t sender) const {
    return static_cast<size_t>(Stirred(sender)) & (places_.size() - 1);
}

size_t HeldCounts::Find(std::uint32_t sender) const {
    const size_t mask = places_.size() - 1;
    size_t place = Home(sender);
    while (places_[place].rows != 0 && places_[place].sender != sender) place = (place + 1) & mask;
    return place;
}

bool HeldCounts::Grow() {
    try {
        std::vector<Place> bigger(places_.empty() ? kFirstPlaces : places_.size() * 2, Place{0, 0});
        bigger.swap(places_);
        for (const Place& place : bigger)
            if (place.rows != 0) places_[Find(place.sender)] = place;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void HeldCounts::Add(std::uint32_t sender, bool errorOrWorse) {
    if (errorOrWorse) ++errors_;
    if (!places_.empty()) {
        Place& found = places_[Find(sender)];
        if (found.rows != 0) {
            ++found.rows;
            return;
        }
    }
    if ((senders_ + 1) * 2 > places_.size() && !Grow()) return;
    places_[Find(sender)] = Place{sender, 1};
    ++senders_;
}

void HeldCounts::Remove(std::uint32_t sender, bool errorOrWorse) {
    if (errorOrWorse && errors_ > 0) --errors_;
    if (places_.empty()) return;
    const size_t place = Find(sender);
    if (places_[place].rows == 0) return;  // left out for want of memory
    if (--places_[place].rows == 0) Free(place);
}

// Each later entry of the run that would not be found past the gap moves into it.
void HeldCounts::Free(size_t gap) {
    const size_t mask = places_.size() - 1;
    for (size_t next = (gap + 1) & mask; places_[next].rows != 0; next = (next + 1) & mask) {
        const size_t home = Home(places_[next].sender);
        const bool reachesGap = gap <= next ? (home <= gap || home > next) : (home <= gap && home > next);
        if (!reachesGap) continue;
        places_[gap] = places_[next];
        gap = next;
    }
    places_[gap].rows = 0;
    --senders_;
}

void HeldCounts::Clear() {
    std::vector<Place>().swap(places_);
    senders_ = 0;
    errors_ = 0;
}

std::vector<SenderCount> HeldCounts::TopSenders(size_t most) const {
    std::vector<SenderCount> all;
    all.reserve(senders_);
    for (const Place& place : places_)
        if (place.rows != 0) all.push_back({place.sender, place.rows});
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
