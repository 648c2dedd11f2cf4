// ConditionsText.cpp: one short part per condition set, joined by commas.
#include "records/ConditionsText.h"

#include "records/SyslogPriority.h"

namespace records {

namespace {

std::string SendersText(const RowFilter& filter) {
    const size_t count = filter.senders.size();
    const std::string senders = std::to_string(count) + (count == 1 ? " sender" : " senders");
    return filter.hideSenders ? senders + " hidden" : "only " + senders;
}

}  // namespace

std::string ConditionsText(const RowFilter& filter) {
    std::string text;
    const auto add = [&text](const std::string& part) {
        if (!text.empty()) text += ", ";
        text += part;
    };
    if (!filter.showText.empty()) add('"' + filter.showText + '"');
    if (!filter.hideText.empty()) add("not \"" + filter.hideText + '"');
    if (filter.matchCase && !text.empty()) add("match case");
    if (filter.lowestSeverity != kAnySeverity) add(std::string("severity up to ") + SeverityName(filter.lowestSeverity));
    if (!filter.senders.empty()) add(SendersText(filter));
    return text.empty() ? "every row" : text;
}

}  // namespace records
