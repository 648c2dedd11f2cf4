// FilterByRow.h: what the list's right-click items do to the filter: show only, or hide, one row's sender, host or app.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "records/RowFilter.h"
#include "records/StoredRow.h"

namespace records {

// The sender, host and app of one row, copied, so that they outlive the row.
struct RowKeys {
    std::uint32_t sender = 0;
    std::optional<std::string> host;  // none when the header names none
    std::optional<std::string> app;
};

// Throws std::bad_alloc.
RowKeys KeysOfRow(const StoredRow& row);

enum class RowKey { kSender, kHost, kApp };

bool HasKey(const RowKeys& keys, RowKey key);

// Show only (hide false) makes the row's key the only one of its kind shown;
// Hide adds it to those hidden, or hides it alone when that kind of key was
// shown only. The other conditions stay. Nothing changes when the row has
// no such key. Throws std::bad_alloc.
void FilterByRow(RowFilter& filter, const RowKeys& keys, RowKey key, bool hide);

}  // namespace records
