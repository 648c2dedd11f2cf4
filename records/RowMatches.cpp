// RowMatches.cpp: grown by half, as the filter's rows, so the spare room stays small.
#include "records/RowMatches.h"

#include <new>

namespace records {

bool RowMatches::Admit(size_t storeIndex, int firstRule) {
    if (firstRule == kNoRule && first_.empty()) return true;
    try {
        if (storeIndex >= first_.capacity()) first_.reserve(storeIndex + storeIndex / 2 + 1024);
        first_.resize(storeIndex + 1, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    first_[storeIndex] = static_cast<std::uint8_t>(firstRule + 1);
    return true;
}

bool RowMatches::Rematch(const RecordStore& store, const WatchRules& rules) {
    Forget();
    if (rules.Count() == 0) return true;
    try {
        first_.resize(store.Count(), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (size_t index = 0; index < first_.size(); ++index)
        first_[index] = static_cast<std::uint8_t>(rules.FirstMatch(store.Row(index)) + 1);
    return true;
}

}  // namespace records
