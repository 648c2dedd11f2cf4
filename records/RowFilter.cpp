// RowFilter.cpp: the cheap conditions first, the texts last.
#include "records/RowFilter.h"

#include <algorithm>

#include "records/SyslogPriority.h"
#include "net/DottedQuad.h"

namespace records {

bool RowFilter::IsEmpty() const {
    return showText.empty() && hideText.empty() && lowestSeverity == kAnySeverity && senders.empty();
}

RowFilterTest::RowFilterTest(const RowFilter& filter)
    : filter_(filter),
      show_(filter.showText.c_str(), filter.matchCase),
      hide_(filter.hideText.c_str(), filter.matchCase),
      senders_(filter.senders) {
    std::sort(senders_.begin(), senders_.end());
}

bool RowFilterTest::SenderPasses(std::uint32_t address) const {
    if (senders_.empty()) return true;
    const bool listed = std::binary_search(senders_.begin(), senders_.end(), address);
    return listed != filter_.hideSenders;
}

bool RowFilterTest::SeverityPasses(const char* message) const {
    if (filter_.lowestSeverity == kAnySeverity) return true;
    const int priority = LeadingPriority(message);
    return priority != kNoPriority && SeverityOf(priority) <= filter_.lowestSeverity;
}

bool RowFilterTest::Passes(const StoredRow& row) const {
    if (!SenderPasses(row.senderAddress) || !SeverityPasses(row.message)) return false;
    if (filter_.showText.empty() && filter_.hideText.empty()) return true;
    char sender[net::kDottedQuadCapacity];
    net::FormatDottedQuad(row.senderAddress, sender);
    if (!filter_.showText.empty() && !show_.FoundIn(sender) && !show_.FoundIn(row.message)) return false;
    if (!filter_.hideText.empty() && (hide_.FoundIn(sender) || hide_.FoundIn(row.message))) return false;
    return true;
}

}  // namespace records
