// ShownRows.cpp: one pass over the store to choose; one test per arriving row.
#include "records/ShownRows.h"

#include <new>
#include <utility>

namespace records {

// The numbers kept rise with the index: a binary search.
size_t ShownRows::CountBefore(std::uint64_t number) const {
    const std::uint64_t first = store_.FirstNumber();
    if (number <= first) return 0;
    const std::uint64_t heldBefore = number - first;
    if (!InForce()) return heldBefore < store_.Count() ? static_cast<size_t>(heldBefore) : store_.Count();
    size_t low = 0;
    size_t high = shown_.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (StoreIndex(middle) < heldBefore)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

bool ShownRows::Apply(RowFilter filter) {
    filter_ = std::move(filter);
    return SetOn(true);
}

bool ShownRows::SetOn(bool on) {
    on_ = on;
    return Choose();
}

bool ShownRows::Keep(size_t storeIndex) {
    try {
        shown_.push_back(static_cast<std::uint32_t>(store_.FirstNumber() + storeIndex));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ShownRows::Choose() {
    ForgetRows();
    test_.reset();
    if (!InForce()) return true;
    test_.emplace(filter_);
    const size_t count = store_.Count();
    for (size_t index = 0; index < count; ++index) {
        if (!test_->Passes(store_.Row(index))) continue;
        if (!Keep(index)) {
            // Without memory for the view, everything is shown rather than a part.
            ForgetRows();
            test_.reset();
            on_ = false;
            return false;
        }
    }
    return true;
}

bool ShownRows::Admit() {
    if (!InForce()) return true;
    const size_t index = store_.Count() - 1;
    return test_->Passes(store_.Row(index)) && Keep(index);
}

size_t ShownRows::Leave(size_t count) {
    if (!InForce()) return count;
    size_t left = 0;
    while (!shown_.empty() && StoreIndex(0) < count) {
        shown_.pop_front();
        ++left;
    }
    return left;
}

void ShownRows::ForgetRows() {
    shown_.clear();
    shown_.shrink_to_fit();
}

}  // namespace records
