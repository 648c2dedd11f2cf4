// FilterByRow.cpp: one rule for the three sets, so a host and an app behave as a sender does.
#include "records/FilterByRow.h"

#include <algorithm>
#include <vector>

#include "records/SyslogHeader.h"

namespace records {

namespace {

template <typename Key>
void ShowOnlyOrHide(std::vector<Key>& set, bool& hideSet, const Key& key, bool hide) {
    const bool addToHidden = hide && hideSet && !set.empty();
    if (!addToHidden) set.clear();
    if (std::find(set.begin(), set.end(), key) == set.end()) set.push_back(key);
    hideSet = hide;
}

std::optional<std::string> FieldOf(const StoredRow& row, const FieldSpan& span) {
    if (span.length == 0) return std::nullopt;
    return std::string(row.message + span.offset, span.length);
}

}  // namespace

RowKeys KeysOfRow(const StoredRow& row) {
    const SyslogHeader header = ReadSyslogHeader(row.message, row.messageLength);
    return {row.senderAddress, FieldOf(row, header.host), FieldOf(row, header.app)};
}

bool HasKey(const RowKeys& keys, RowKey key) {
    switch (key) {
    case RowKey::kSender:
        return true;
    case RowKey::kHost:
        return keys.host.has_value();
    case RowKey::kApp:
        return keys.app.has_value();
    }
    return false;
}

void FilterByRow(RowFilter& filter, const RowKeys& keys, RowKey key, bool hide) {
    switch (key) {
    case RowKey::kSender:
        ShowOnlyOrHide(filter.senders, filter.hideSenders, keys.sender, hide);
        return;
    case RowKey::kHost:
        if (keys.host) ShowOnlyOrHide(filter.hosts, filter.hideHosts, *keys.host, hide);
        return;
    case RowKey::kApp:
        if (keys.app) ShowOnlyOrHide(filter.apps, filter.hideApps, *keys.app, hide);
        return;
    }
}

}  // namespace records
