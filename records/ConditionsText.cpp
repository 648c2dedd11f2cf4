// ConditionsText.cpp: one short part per condition set, joined by commas.
#include "records/ConditionsText.h"

#include "records/SyslogPriority.h"

namespace records {

namespace {

// "only 2 senders", "1 host hidden".
std::string SetText(size_t count, const char* what, bool hidden) {
    const std::string set = std::to_string(count) + ' ' + what + (count == 1 ? "" : "s");
    return hidden ? set + " hidden" : "only " + set;
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
    if (!filter.senders.empty()) add(SetText(filter.senders.size(), "sender", filter.hideSenders));
    if (!filter.hosts.empty()) add(SetText(filter.hosts.size(), "host", filter.hideHosts));
    if (!filter.apps.empty()) add(SetText(filter.apps.size(), "app", filter.hideApps));
    return text.empty() ? "every row" : text;
}

}  // namespace records
