// ShownRows.h: which of the stored rows the list shows while a filter is in force.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "log/RecordStore.h"
#include "records/RowFilter.h"

namespace records {

// With no filter in force every stored row is shown, in arrival order, and
// nothing is kept. With one, the shown rows' store indices are kept in order,
// four bytes each. The filter is kept while it is off, so it can come back.
class ShownRows {
public:
    ShownRows() = default;
    ShownRows(const ShownRows&) = delete;  // the filter's test refers to the filter it holds
    ShownRows& operator=(const ShownRows&) = delete;

    const RowFilter& Filter() const { return filter_; }
    bool FilterOn() const { return on_; }
    // A filter is defined and on: some rows may be hidden.
    bool InForce() const { return on_ && !filter_.IsEmpty(); }

    // Takes the filter and turns it on; the shown rows are chosen again.
    // False, with no filter in force, when there is no memory for them.
    bool Apply(RowFilter filter, const messagelog::RecordStore& rows);
    // Turns the filter off or on again; on without a defined filter stays off.
    bool SetOn(bool on, const messagelog::RecordStore& rows);

    // The store's row at index Count() - 1 has just been added: true when it is shown.
    bool Admit(const messagelog::RecordStore& rows);
    // Every row has gone from the store; the filter stays.
    void ForgetRows();

    size_t Count(const messagelog::RecordStore& rows) const { return InForce() ? shown_.size() : rows.Count(); }
    // The store index of the shown row, shownIndex < Count().
    size_t StoreIndex(size_t shownIndex) const {
        return InForce() ? shown_[shownIndex] : shownIndex;
    }
    // What the shown rows' indices take from memory.
    size_t BytesHeld() const { return shown_.capacity() * sizeof(std::uint32_t); }

private:
    bool Choose(const messagelog::RecordStore& rows);
    bool Keep(std::uint32_t storeIndex);

    RowFilter filter_;
    std::optional<RowFilterTest> test_;  // built from filter_ while it is in force
    bool on_ = false;
    std::vector<std::uint32_t> shown_;  // store indices, ascending; empty while no filter is in force
};

}  // namespace records
