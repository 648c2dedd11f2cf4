// RowFilter.cpp: the cheap conditions first, the header next, the texts last.
#include "records/RowFilter.h"

#include <algorithm>

#include "records/HeaderNames.h"
#include "records/SyslogPriority.h"
#include "net/DottedQuad.h"

namespace records {

namespace {

std::vector<std::string_view> Views(const std::vector<std::string>& names) {
    return std::vector<std::string_view>(names.begin(), names.end());
}

}  // namespace

bool RowFilter::IsEmpty() const {
    return showText.empty() && hideText.empty() && lowestSeverity == kAnySeverity && senders.empty() &&
           hosts.empty() && apps.empty();
}

RowFilterTest::RowFilterTest(const RowFilter& filter)
    : filter_(filter),
      show_(filter.showText.c_str(), filter.matchCase),
      hide_(filter.hideText.c_str(), filter.matchCase),
      senders_(filter.senders),
      hosts_(Views(filter.hosts)),
      apps_(Views(filter.apps)) {
    std::sort(senders_.begin(), senders_.end());
    std::sort(hosts_.begin(), hosts_.end(), HostLess());
    std::sort(apps_.begin(), apps_.end());
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

// A row without a host is listed in no set, not even as an empty name.
bool RowFilterTest::HostPasses(std::string_view host) const {
    const bool listed = !host.empty() && std::binary_search(hosts_.begin(), hosts_.end(), host, HostLess());
    return listed != filter_.hideHosts;
}

bool RowFilterTest::AppPasses(std::string_view app) const {
    const bool listed = !app.empty() && std::binary_search(apps_.begin(), apps_.end(), app);
    return listed != filter_.hideApps;
}

const char* RowUnderTest::Sender() const {
    if (!sender_[0]) net::FormatDottedQuad(row_.senderAddress, sender_);
    return sender_;
}

const SyslogHeader& RowUnderTest::Header() const {
    if (!headerRead_) {
        header_ = ReadSyslogHeader(row_.message, row_.messageLength);
        headerRead_ = true;
    }
    return header_;
}

bool RowFilterTest::Passes(const RowUnderTest& tested) const {
    const StoredRow& row = tested.Row();
    if (!SenderPasses(row.senderAddress) || !SeverityPasses(row.message)) return false;
    if (!hosts_.empty() && !HostPasses(tested.Host())) return false;
    if (!apps_.empty() && !AppPasses(tested.App())) return false;
    if (!filter_.showText.empty() && !show_.FoundIn(tested.Sender()) && !show_.FoundIn(row.message)) return false;
    if (!filter_.hideText.empty() && (hide_.FoundIn(tested.Sender()) || hide_.FoundIn(row.message))) return false;
    return true;
}

}  // namespace records
