// ShownRows.h: the rows held that the list shows, all of them or those a filter lets through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "records/RecordStore.h"
#include "records/RowFilter.h"

namespace records {

// With no filter in force every held row is shown, oldest first, and nothing
// is kept. With one, the shown rows' numbers in the store are kept in order,
// four bytes each, cut to 32 bits: the rows held are far fewer than 2^32, so
// a number less the oldest held row's, in 32 bits, is the row's index. The
// filter is kept while it is off, so it can come back.
class ShownRows {
public:
    explicit ShownRows(const RecordStore& store) : store_(store) {}
    ShownRows(const ShownRows&) = delete;  // the filter's test refers to the filter it holds
    ShownRows& operator=(const ShownRows&) = delete;

    // What the list counts and reads: shown row index < Count().
    size_t Count() const { return InForce() ? shown_.size() : store_.Count(); }
    StoredRow Row(size_t index) const { return store_.Row(StoreIndex(index)); }
    // How many shown rows come before the row of the number given in the store (FirstNumber's count).
    size_t CountBefore(std::uint64_t number) const;
    // The shown row's index among the rows held.
    size_t StoreIndex(size_t index) const {
        return InForce() ? static_cast<std::uint32_t>(shown_[index] - static_cast<std::uint32_t>(store_.FirstNumber()))
                         : index;
    }
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
    // The store's oldest count rows are about to leave: the shown ones among
    // them leave the shown rows; answers how many that was.
    size_t Leave(size_t count);
    // Every row has gone from the store; the filter stays.
    void ForgetRows();

    // What the shown rows' numbers take from memory.
    size_t BytesHeld() const { return shown_.size() * sizeof(std::uint32_t); }

private:
    bool Choose();
    bool Keep(size_t storeIndex);

    const RecordStore& store_;
    RowFilter filter_;
    std::optional<RowFilterTest> test_;  // built from filter_ while it is in force
    bool on_ = false;
    std::deque<std::uint32_t> shown_;  // row numbers in 32 bits, oldest first; empty while no filter is in force
};

}  // namespace records
