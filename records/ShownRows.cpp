// ShownRows.cpp: one pass over the store to choose; one test per arriving row.
#include "records/ShownRows.h"

#include <new>
#include <utility>

namespace records {

bool ShownRows::Apply(RowFilter filter) {
    filter_ = std::move(filter);
    return SetOn(true);
}

bool ShownRows::SetOn(bool on) {
    on_ = on;
    return Choose();
}

// Grows by half, not double, so the room kept spare stays under two bytes per stored row.
bool ShownRows::Keep(std::uint32_t storeIndex) {
    try {
        if (shown_.size() == shown_.capacity()) shown_.reserve(shown_.capacity() + shown_.capacity() / 2 + 1024);
        shown_.push_back(storeIndex);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ShownRows::Choose() {
    std::vector<std::uint32_t>().swap(shown_);
    test_.reset();
    if (!InForce()) return true;
    test_.emplace(filter_);
    const size_t count = store_.Count();
    for (size_t index = 0; index < count; ++index) {
        if (!test_->Passes(store_.Row(index))) continue;
        if (!Keep(static_cast<std::uint32_t>(index))) {
            // Without memory for the view, everything is shown rather than a part.
            std::vector<std::uint32_t>().swap(shown_);
            test_.reset();
            on_ = false;
            return false;
        }
    }
    shown_.shrink_to_fit();
    return true;
}

bool ShownRows::Admit() {
    if (!InForce()) return true;
    const size_t index = store_.Count() - 1;
    return test_->Passes(store_.Row(index)) && Keep(static_cast<std::uint32_t>(index));
}

void ShownRows::ForgetRows() {
    std::vector<std::uint32_t>().swap(shown_);
}

}  // namespace records
