// RowMatches.h: the first watch rule each stored row matched, one byte a row while rules exist.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/RecordStore.h"
#include "records/WatchRules.h"

namespace records {

// Indexed like the store. Rows stored while no rule existed take no room:
// a row past the end matched none.
class RowMatches {
public:
    // The first rule the row at the store index matched, or kNoRule.
    int FirstRule(size_t storeIndex) const {
        return storeIndex < first_.size() ? static_cast<int>(first_[storeIndex]) - 1 : kNoRule;
    }

    // The store's last row has just been added with what it matched; false
    // when there is no memory to keep it, and the row shows as matching none.
    bool Admit(size_t storeIndex, int firstRule);

    // Every stored row tried again, after the rules changed; false, with no
    // row matching, when there is no memory.
    bool Rematch(const RecordStore& store, const WatchRules& rules);

    // Every row has gone from the store.
    void Forget() { std::vector<std::uint8_t>().swap(first_); }

    size_t BytesHeld() const { return first_.capacity(); }

private:
    std::vector<std::uint8_t> first_;  // the rule's index + 1; 0: none
};

}  // namespace records
