// ShownRows.cpp: one pass over the store to choose; one test per arriving row.
#include "records/ShownRows.h"

#include <new>
#include <utility>

namespace records {

bool ShownRows::Apply(RowFilter filter, const messagelog::RecordStore& rows) {
    filter_ = std::move(filter);
    return SetOn(true, rows);
}

bool ShownRows::SetOn(bool on, const messagelog::RecordStore& rows) {
    on_ = on;
    return Choose(rows);
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

bool ShownRows::Choose(const messagelog::RecordStore& rows) {
    std::vector<std::uint32_t>().swap(shown_);
    test_.reset();
    if (!InForce()) return true;
    test_.emplace(filter_);
    const size_t count = rows.Count();
    for (size_t index = 0; index < count; ++index) {
        if (!test_->Passes(rows.Row(index))) continue;
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

bool ShownRows::Admit(const messagelog::RecordStore& rows) {
    if (!InForce()) return true;
    const size_t index = rows.Count() - 1;
    if (!test_->Passes(rows.Row(index))) return false;
    return Keep(static_cast<std::uint32_t>(index));
}

void ShownRows::ForgetRows() {
    std::vector<std::uint32_t>().swap(shown_);
}

}  // namespace records
