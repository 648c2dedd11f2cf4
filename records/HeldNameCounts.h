// HeldNameCounts.h: the rows held counted per host and per app their headers name, as rows come and leave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/HeaderCensus.h"

namespace records {

// Window-free. Kept as each row is held and as it leaves, from its header,
// so that no pass over the rows is needed to tell them: memory per name, not
// per row. Hosts are told apart as the filter tells them, without ASCII
// case, each in the spelling, of those still held, that came first: its
// oldest row's, unless spellings take turns; apps byte for byte.
// A row whose header names no host (app) is not counted among the hosts
// (apps); a name goes with its last row.
class HeldNameCounts {
public:
    HeldNameCounts() = default;
    HeldNameCounts(const HeldNameCounts&) = delete;
    HeldNameCounts& operator=(const HeldNameCounts&) = delete;

    // A row whose header names this host and app (either may be empty) is
    // held, or leaves. Without memory for a new name, its rows are left out.
    void Add(std::string_view host, std::string_view app);
    void Remove(std::string_view host, std::string_view app);
    void Clear();

    size_t Hosts() const { return hosts_.Count(); }
    size_t Apps() const { return apps_.Count(); }
    // The names with the most rows held, most first (ties in the filter's
    // order of names), at most the number asked for. Throws std::bad_alloc.
    std::vector<NameCount> TopHosts(size_t most) const { return hosts_.Top(most); }
    std::vector<NameCount> TopApps(size_t most) const { return apps_.Top(most); }

private:
    // One open table of names, found without a walk through the heap, as
    // every row held and leaving looks two names up.
    class Table {
    public:
        explicit Table(bool foldCase) : foldCase_(foldCase) {}
        void Add(std::string_view name);
        void Remove(std::string_view name);
        void Clear();
        size_t Count() const { return names_; }
        std::vector<NameCount> Top(size_t most) const;

    private:
        // The name as the rows write it; apps have one, a host one per way of writing it.
        struct Spelling {
            std::string text;
            size_t rows;
        };
        struct Place {
            std::uint64_t hash = 0;
            size_t rows = 0;                  // 0: a free place
            std::vector<Spelling> spellings;  // in the order they came, each with rows held; their rows add up to rows
        };

        std::uint64_t Hash(std::string_view name) const;
        bool Same(std::string_view left, std::string_view right) const;
        size_t Home(std::uint64_t hash) const;
        // The name's place, or the free place where it would go.
        size_t Find(std::string_view name, std::uint64_t hash) const;
        bool Grow();
        void Free(size_t place);

        const bool foldCase_;
        std::vector<Place> places_;  // a power of two of them, at most half taken
        size_t names_ = 0;
    };

    Table hosts_{true};
    Table apps_{false};
};

}  // namespace records
