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

const char* RowUnderTest::Sender() const {
    if (!sender_[0]) net::FormatDottedQuad(row_.senderAddress, sender_);
    return sender_;
}

bool RowFilterTest::Passes(const RowUnderTest& tested) const {
    const StoredRow& row = tested.Row();
    if (!SenderPasses(row.senderAddress) || !SeverityPasses(row.message)) return false;
    if (!filter_.showText.empty() && !show_.FoundIn(tested.Sender()) && !show_.FoundIn(row.message)) return false;
    if (!filter_.hideText.empty() && (hide_.FoundIn(tested.Sender()) || hide_.FoundIn(row.message))) return false;
    return true;
}

}  // namespace records
