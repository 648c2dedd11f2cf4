// HeaderCensus.cpp: one pass over the rows, each header read once; runs of one name cost no lookup.
#include "records/HeaderCensus.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "records/HeaderNames.h"
#include "records/SyslogHeader.h"

namespace records {

namespace {

// FNV-1a over the bytes with ASCII letters in lower case, so that SameHost names hash alike.
struct HostHash {
    size_t operator()(std::string_view host) const {
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : host) {
            const auto byte = static_cast<unsigned char>(c);
            hash ^= byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
            hash *= 1099511628211ull;
        }
        return static_cast<size_t>(hash);
    }
};

struct HostEqual {
    bool operator()(std::string_view left, std::string_view right) const { return SameHost(left, right); }
};

// The names counted, each seen first as the key's bytes: the rows' messages
// or the filter's texts, which outlive the count.
template <typename Hash, typename Equal>
class NameTally {
public:
    void Count(std::string_view name) {
        if (name.empty()) return;
        if (last_ && name == lastName_) {
            ++*last_;
            return;
        }
        last_ = &counts_.try_emplace(name, 0).first->second;
        lastName_ = name;
        ++*last_;
    }

    void List(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            if (!name.empty()) counts_.try_emplace(name, 0);
    }

    std::vector<NameCount> Sorted() const {
        std::vector<NameCount> sorted;
        sorted.reserve(counts_.size());
        for (const auto& [name, rows] : counts_) sorted.push_back({std::string(name), rows});
        std::sort(sorted.begin(), sorted.end(), [](const NameCount& left, const NameCount& right) {
            const int order = CompareHosts(left.name, right.name);
            return order != 0 ? order < 0 : left.name < right.name;
        });
        return sorted;
    }

private:
    std::unordered_map<std::string_view, size_t, Hash, Equal> counts_;
    size_t* last_ = nullptr;  // the last name's count: elements stay where they are as the map grows
    std::string_view lastName_;
};

}  // namespace

HostsAndApps CountHostsAndApps(const RecordStore& rows, const RowFilter& filter) {
    NameTally<HostHash, HostEqual> hosts;
    NameTally<std::hash<std::string_view>, std::equal_to<std::string_view>> apps;
    const size_t count = rows.Count();
    for (size_t index = 0; index < count; ++index) {
        const StoredRow row = rows.Row(index);
        const SyslogHeader header = ReadSyslogHeader(row.message, row.messageLength);
        hosts.Count({row.message + header.host.offset, header.host.length});
        apps.Count({row.message + header.app.offset, header.app.length});
    }
    hosts.List(filter.hosts);
    apps.List(filter.apps);
    return {hosts.Sorted(), apps.Sorted()};
}

std::string NameCountText(const NameCount& counted) {
    return counted.name + " (" + std::to_string(counted.rows) + " rows)";
}

}  // namespace records
