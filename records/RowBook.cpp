// RowBook.cpp: the rules see every record; a held one goes in at the end and the oldest leave first.
#include "records/RowBook.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "records/SyslogHeader.h"
#include "records/SyslogPriority.h"

namespace records {

Admission RowBook::Admit(const net::SyslogRecord& record, bool hold) {
    ++admitted_;
    Admission admission;
    admission.match = rules_.Watch(RowOfRecord(record.message, record.senderAddress, record.receivedAt));
    const int priority = LeadingPriority(record.message);
    history_.Count(record.receivedAt, SeverityClassOf(priority));
    if (!hold) return admission;
    if (store_.Count() >= keepRows_) admission.departure = Leave(store_.Count() - keepRows_ + 1);
    const bool errorOrWorse = IsErrorOrWorse(priority);
    if (!store_.Append(record, admission.match.first, errorOrWorse) && !MakeRoomInMemory(record, errorOrWorse, admission))
        return admission;
    admission.held = true;
    counts_.Add(record.senderAddress, errorOrWorse);
    CountNames(store_.Row(store_.Count() - 1), true);
    // Without memory to list it among the rows shown, the row is held unseen.
    admission.shown = shown_.Admit();
    return admission;
}

// The oldest rows go until a chunk of theirs is free for the new row; the
// book keeps as many rows as it then holds, the new one included. A message
// longer than a chunk would take a chunk of its own, which no row gives back.
bool RowBook::MakeRoomInMemory(const net::SyslogRecord& record, bool errorOrWorse, Admission& admission) {
    if (store_.Count() == 0 || std::strlen(record.message) >= RecordStore::kChunkBytes) return false;
    while (store_.Count() > 0 && !store_.HasSpareChunk()) admission.departure += Leave(1);
    if (!store_.Append(record, admission.match.first, errorOrWorse)) return false;
    keepRows_ = store_.Count();
    admission.keepShrank = true;
    return true;
}

Departure RowBook::Leave(size_t count) {
    Departure departure;
    departure.left = count;
    departure.leftShown = shown_.Leave(count);
    for (size_t index = 0; index < count; ++index) {
        const StoredRow row = store_.Row(index);
        counts_.Remove(row.senderAddress, row.errorOrWorse);
        CountNames(row, false);
    }
    store_.DropOldest(count);
    departure.firstTime = count > 0 && !rowsHaveLeft_;
    rowsHaveLeft_ = rowsHaveLeft_ || count > 0;
    return departure;
}

// The header is read again as the row leaves: nothing of it is kept per row.
void RowBook::CountNames(const StoredRow& row, bool held) {
    const SyslogHeader header = ReadSyslogHeader(row.message, row.messageLength);
    const std::string_view host(row.message + header.host.offset, header.host.length);
    const std::string_view app(row.message + header.app.offset, header.app.length);
    if (held)
        nameCounts_.Add(host, app);
    else
        nameCounts_.Remove(host, app);
}

Departure RowBook::SetKeepRows(size_t rows) {
    keepRows_ = rows;
    keepRowsSet_ = rows;
    return store_.Count() > rows ? Leave(store_.Count() - rows) : Departure();
}

bool RowBook::SetRules(std::vector<CountedRule> rules) {
    if (!rules_.Set(std::move(rules))) return false;
    const size_t count = store_.Count();
    for (size_t index = 0; index < count; ++index)
        store_.SetFirstRule(index, rules_.FirstMatch(store_.Row(index)));
    return true;
}

void RowBook::Clear() {
    store_.Clear();
    shown_.ForgetRows();
    counts_.Clear();
    nameCounts_.Clear();
    history_.Clear();
    keepRows_ = keepRowsSet_;
}

}  // namespace records
