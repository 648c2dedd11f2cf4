// HeldNameCounts.cpp: linear probing over a power-of-two table of names; a host's spellings in the order they came.
#include "records/HeldNameCounts.h"

#include <algorithm>
#include <new>
#include <utility>

#include "records/HeaderNames.h"

namespace records {

namespace {

constexpr size_t kFirstNamePlaces = 64;

unsigned char LowerAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Every bit of the hash stirred into the low ones, which choose the place.
std::uint64_t StirredHash(std::uint64_t hash) {
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    return hash;
}

}  // namespace

void HeldNameCounts::Add(std::string_view host, std::string_view app) {
    hosts_.Add(host);
    apps_.Add(app);
}

void HeldNameCounts::Remove(std::string_view host, std::string_view app) {
    hosts_.Remove(host);
    apps_.Remove(app);
}

void HeldNameCounts::Clear() {
    hosts_.Clear();
    apps_.Clear();
}

// FNV-1a, over the bytes with ASCII letters in lower case when case does not count.
std::uint64_t HeldNameCounts::Table::Hash(std::string_view name) const {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        hash ^= foldCase_ ? LowerAscii(byte) : byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

bool HeldNameCounts::Table::Same(std::string_view left, std::string_view right) const {
    return foldCase_ ? SameHost(left, right) : left == right;
}

size_t HeldNameCounts::Table::Home(std::uint64_t hash) const {
    return static_cast<size_t>(StirredHash(hash)) & (places_.size() - 1);
}

size_t HeldNameCounts::Table::Find(std::string_view name, std::uint64_t hash) const {
    const size_t mask = places_.size() - 1;
    size_t place = Home(hash);
    while (places_[place].rows != 0 &&
           !(places_[place].hash == hash && Same(places_[place].spellings.front().text, name)))
        place = (place + 1) & mask;
    return place;
}

bool HeldNameCounts::Table::Grow() {
    try {
        std::vector<Place> bigger(places_.empty() ? kFirstNamePlaces : places_.size() * 2);
        bigger.swap(places_);
        const size_t mask = places_.size() - 1;
        for (Place& place : bigger) {
            if (place.rows == 0) continue;
            size_t free = Home(place.hash);
            while (places_[free].rows != 0) free = (free + 1) & mask;
            places_[free] = std::move(place);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void HeldNameCounts::Table::Add(std::string_view name) {
    if (name.empty()) return;
    const std::uint64_t hash = Hash(name);
    if (!places_.empty()) {
        Place& found = places_[Find(name, hash)];
        if (found.rows != 0) {
            ++found.rows;
            for (Spelling& spelling : found.spellings) {
                if (spelling.text != name) continue;
                ++spelling.rows;
                return;
            }
            try {
                found.spellings.push_back({std::string(name), 1});
            } catch (const std::bad_alloc&) {
                ++found.spellings.front().rows;  // counted under the spelling listed
            }
            return;
        }
    }
    if ((names_ + 1) * 2 > places_.size() && !Grow()) return;
    Place& place = places_[Find(name, hash)];
    try {
        place.spellings.push_back({std::string(name), 1});
    } catch (const std::bad_alloc&) {
        return;
    }
    place.hash = hash;
    place.rows = 1;
    ++names_;
}

// A spelling that is not there (left out for want of memory) was counted under the first.
void HeldNameCounts::Table::Remove(std::string_view name) {
    if (name.empty() || places_.empty()) return;
    const size_t at = Find(name, Hash(name));
    Place& place = places_[at];
    if (place.rows == 0) return;  // left out for want of memory
    if (--place.rows == 0) {
        Free(at);
        return;
    }
    auto spelling = std::find_if(place.spellings.begin(), place.spellings.end(),
                                 [name](const Spelling& one) { return one.text == name; });
    if (spelling == place.spellings.end()) spelling = place.spellings.begin();
    if (--spelling->rows == 0) place.spellings.erase(spelling);
}

// Each later entry of the run that would not be found past the gap moves into it.
void HeldNameCounts::Table::Free(size_t gap) {
    const size_t mask = places_.size() - 1;
    for (size_t next = (gap + 1) & mask; places_[next].rows != 0; next = (next + 1) & mask) {
        const size_t home = Home(places_[next].hash);
        const bool reachesGap = gap <= next ? (home <= gap || home > next) : (home <= gap && home > next);
        if (!reachesGap) continue;
        places_[gap] = std::move(places_[next]);
        gap = next;
    }
    places_[gap] = Place();
    --names_;
}

void HeldNameCounts::Table::Clear() {
    std::vector<Place>().swap(places_);
    names_ = 0;
}

std::vector<NameCount> HeldNameCounts::Table::Top(size_t most) const {
    std::vector<const Place*> all;
    all.reserve(names_);
    for (const Place& place : places_)
        if (place.rows != 0) all.push_back(&place);
    const size_t kept = std::min(most, all.size());
    std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kept), all.end(),
                      [](const Place* left, const Place* right) {
                          if (left->rows != right->rows) return left->rows > right->rows;
                          const std::string& leftName = left->spellings.front().text;
                          const std::string& rightName = right->spellings.front().text;
                          const int order = CompareHosts(leftName, rightName);
                          return order != 0 ? order < 0 : leftName < rightName;
                      });
    std::vector<NameCount> top;
    top.reserve(kept);
    for (size_t index = 0; index < kept; ++index) top.push_back({all[index]->spellings.front().text, all[index]->rows});
    return top;
}

}  // namespace records
