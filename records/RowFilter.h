// RowFilter.h: which stored rows are shown: texts, lowest severity and senders, all of which must hold.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/RowSearch.h"
#include "records/StoredRow.h"
#include "records/SyslogPriority.h"
#include "net/DottedQuad.h"

namespace records {

constexpr int kAnySeverity = -1;

// The conditions as the user gave them; an empty text, kAnySeverity or an
// empty sender set sets no condition.
struct RowFilter {
    std::string showText;  // the From or Details text must hold it
    std::string hideText;  // neither text may hold it
    bool matchCase = false;
    int lowestSeverity = kAnySeverity;  // 0 to 7: a leading priority of severity 0 up to this one
    std::vector<std::uint32_t> senders;  // addresses as in in_addr::s_addr, in any order
    bool hideSenders = false;            // false: only these senders are shown

    // True when no condition is set: every row passes.
    bool IsEmpty() const;
};

// A row as the tests see it: its sender's text is formatted once, when the
// first test that needs it asks, however many tests read it.
class RowUnderTest {
public:
    explicit RowUnderTest(const StoredRow& row) : row_(row) {}
    RowUnderTest(const RowUnderTest&) = delete;
    RowUnderTest& operator=(const RowUnderTest&) = delete;

    const StoredRow& Row() const { return row_; }
    const char* Sender() const;

private:
    const StoredRow& row_;
    mutable char sender_[net::kDottedQuadCapacity] = {};
};

// The filter made ready to test many rows: the texts' case tables and the
// sorted sender set are built once. It refers to the filter's texts, so the
// filter must outlive it and stay unchanged.
class RowFilterTest {
public:
    explicit RowFilterTest(const RowFilter& filter);
    RowFilterTest(const RowFilterTest&) = delete;
    RowFilterTest& operator=(const RowFilterTest&) = delete;

    // Whether the row is shown under the filter.
    bool Passes(const RowUnderTest& row) const;
    bool Passes(const StoredRow& row) const { return Passes(RowUnderTest(row)); }

private:
    bool SenderPasses(std::uint32_t address) const;
    bool SeverityPasses(const char* message) const;

    const RowFilter& filter_;
    const TextMatcher show_;
    const TextMatcher hide_;
    std::vector<std::uint32_t> senders_;  // sorted
};

}  // namespace records
