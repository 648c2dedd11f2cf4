// RowFilter.h: which stored rows are shown: texts, lowest severity, senders, hosts and apps, all of which must hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/TextMatcher.h"
#include "records/StoredRow.h"
#include "records/SyslogHeader.h"
#include "records/SyslogPriority.h"
#include "net/DottedQuad.h"

namespace records {

constexpr int kAnySeverity = -1;

// The conditions as the user gave them; an empty text, kAnySeverity or an
// empty set sets no condition. A row whose header names no host (or app)
// is shown by a condition that hides hosts (apps) and hidden by one that
// shows only some.
struct RowFilter {
    std::string showText;  // the From or Details text must hold it
    std::string hideText;  // neither text may hold it
    bool matchCase = false;
    int lowestSeverity = kAnySeverity;  // 0 to 7: a leading priority of severity 0 up to this one
    std::vector<std::uint32_t> senders;  // addresses as in in_addr::s_addr, in any order
    bool hideSenders = false;            // false: only these senders are shown
    std::vector<std::string> hosts;      // as headers name them, compared without ASCII case; in any order
    bool hideHosts = false;
    std::vector<std::string> apps;  // as headers name them, compared byte for byte; in any order
    bool hideApps = false;

    // True when no condition is set: every row passes.
    bool IsEmpty() const;
};

// A row as the tests see it: its sender's text is formatted, and its header
// read, once, when the first test that needs them asks, however many tests
// read them.
class RowUnderTest {
public:
    explicit RowUnderTest(const StoredRow& row) : row_(row) {}
    RowUnderTest(const RowUnderTest&) = delete;
    RowUnderTest& operator=(const RowUnderTest&) = delete;

    const StoredRow& Row() const { return row_; }
    const char* Sender() const;
    // Empty when the header names none.
    std::string_view Host() const { return Field(Header().host); }
    std::string_view App() const { return Field(Header().app); }

private:
    const SyslogHeader& Header() const;
    std::string_view Field(const FieldSpan& span) const { return {row_.message + span.offset, span.length}; }

    const StoredRow& row_;
    mutable char sender_[net::kDottedQuadCapacity] = {};
    mutable SyslogHeader header_;
    mutable bool headerRead_ = false;
};

// The filter made ready to test many rows: the texts' case tables and the
// sorted sets are built once. It refers to the filter's texts, so the
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
    bool HostPasses(std::string_view host) const;
    bool AppPasses(std::string_view app) const;

    const RowFilter& filter_;
    const TextMatcher show_;
    const TextMatcher hide_;
    std::vector<std::uint32_t> senders_;  // sorted
    std::vector<std::string_view> hosts_;  // the filter's, sorted without case
    std::vector<std::string_view> apps_;   // the filter's, sorted
};

}  // namespace records
