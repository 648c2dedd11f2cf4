// HeaderCensus.h: every host and app the stored rows' headers name, with how many rows name each.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "records/RecordStore.h"
#include "records/RowFilter.h"

namespace records {

struct NameCount {
    std::string name;
    size_t rows;
};

struct HostsAndApps {
    std::vector<NameCount> hosts;
    std::vector<NameCount> apps;
};

// Each host and app the rows' headers name once, and each the filter names
// that none does, with 0 rows. Hosts are told apart as the filter tells them,
// without ASCII case, each in the spelling its oldest row (or the filter)
// gives; apps byte for byte. Both are sorted without ASCII case, apps that
// differ only in case by their bytes. Throws std::bad_alloc.
HostsAndApps CountHostsAndApps(const RecordStore& rows, const RowFilter& filter);

// "name (N rows)".
std::string NameCountText(const NameCount& counted);

}  // namespace records
