// ShownRows.h: the stored rows the list shows, all of them or those a filter lets through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "records/RecordStore.h"
#include "records/RowFilter.h"

namespace records {

// With no filter in force every stored row is shown, in arrival order, and
// nothing is kept. With one, the shown rows' store indices are kept in order,
// four bytes each. The filter is kept while it is off, so it can come back.
class ShownRows {
public:
    explicit ShownRows(const RecordStore& store) : store_(store) {}
    ShownRows(const ShownRows&) = delete;  // the filter's test refers to the filter it holds
    ShownRows& operator=(const ShownRows&) = delete;

    // What the list counts and reads: shown row index < Count().
    size_t Count() const { return InForce() ? shown_.size() : store_.Count(); }
    StoredRow Row(size_t index) const { return store_.Row(StoreIndex(index)); }
    size_t StoreIndex(size_t index) const { return InForce() ? shown_[index] : index; }
    const RecordStore& Store() const { return store_; }

    const RowFilter& Filter() const { return filter_; }
    // A filter is defined and on: some rows may be hidden.
    bool InForce() const { return on_ && !filter_.IsEmpty(); }

    // Takes the filter and turns it on; the shown rows are chosen again.
    // False, with the filter off, when there is no memory for them.
    bool Apply(RowFilter filter);
    // Turns the filter off, or on again.
    bool SetOn(bool on);

    // The store's last row has just been added: true when it is shown.
    bool Admit();
    // Every row has gone from the store; the filter stays.
    void ForgetRows();

    // What the shown rows' indices take from memory.
    size_t BytesHeld() const { return shown_.capacity() * sizeof(std::uint32_t); }

private:
    bool Choose();
    bool Keep(std::uint32_t storeIndex);

    const RecordStore& store_;
    RowFilter filter_;
    std::optional<RowFilterTest> test_;  // built from filter_ while it is in force
    bool on_ = false;
    std::vector<std::uint32_t> shown_;  // store indices, ascending; empty while no filter is in force
};

}  // namespace records
