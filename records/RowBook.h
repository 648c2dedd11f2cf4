// RowBook.h: the rows the monitor holds, the rows shown, the watch rules and each row's first rule, in one owner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/HeldCounts.h"
#include "records/HeldNameCounts.h"
#include "records/RecordStore.h"
#include "records/RowFilter.h"
#include "records/ShownRows.h"
#include "records/TrafficHistory.h"
#include "records/WatchRules.h"

namespace records {

// Rows that left the book, oldest first, to make room or because fewer are kept.
struct Departure {
    size_t left = 0;        // rows held that left
    size_t leftShown = 0;   // how many of them were shown
    bool firstTime = false;  // the first rows ever to leave this book

    Departure& operator+=(const Departure& later) {
        left += later.left;
        leftShown += later.leftShown;
        firstTime = firstTime || later.firstTime;
        return *this;
    }
};

// What admitting one record answered, for the list and the calls.
struct Admission {
    bool held = false;   // it is the newest row held
    bool shown = false;  // and the filter in force shows it
    WatchMatch match;    // the rules it matched, and the first, whose colours and mark it takes
    Departure departure;
    bool keepShrank = false;  // memory ran out: KeepRows() is now what could be held
};

// Window-free: the list shows the book, the delivery pump admits records to
// it. It holds at most KeepRows() rows; once that many are held, each new row
// lets the oldest go. When memory runs out first, the oldest rows go to make
// room for the newest, and the book keeps that many from then on, until
// Clear or until the number kept is set again.
class RowBook {
public:
    // mostBytes: the most the rows may take from the system.
    explicit RowBook(size_t keepRows, size_t mostBytes = RecordStore::kNoLimit)
        : store_(mostBytes), keepRows_(keepRows), keepRowsSet_(keepRows) {}
    RowBook(const RowBook&) = delete;
    RowBook& operator=(const RowBook&) = delete;

    // An arriving record: every rule it matches counts it, and so does the
    // traffic's history; when hold is set it is copied in as the newest row,
    // the oldest leaving as needed.
    Admission Admit(const net::SyslogRecord& record, bool hold);

    // How many records have been admitted, held or not, since the book was made.
    std::uint64_t AdmittedCount() const { return admitted_; }

    size_t KeepRows() const { return keepRows_; }
    // Lowering it lets the oldest rows go at once; raising it keeps every row.
    Departure SetKeepRows(size_t rows);

    const RecordStore& Held() const { return store_; }
    const ShownRows& Shown() const { return shown_; }
    const WatchRules& Rules() const { return rules_; }
    // Every record admitted, counted in its second by severity.
    const TrafficHistory& History() const { return history_; }
    // The rows held per sender, and those of an error or worse.
    const HeldCounts& Counts() const { return counts_; }
    // The rows held per host and per app their headers name.
    const HeldNameCounts& NameCounts() const { return nameCounts_; }

    // Takes the filter and turns it on; false, with the filter off, when
    // there is no memory to choose the rows.
    bool ApplyFilter(RowFilter filter) { return shown_.Apply(std::move(filter)); }
    // Turns the filter off (every row shown) or on again.
    bool SetFilterOn(bool on) { return shown_.SetOn(on); }

    // Takes the rules in force; every row held takes its first rule again.
    // False, with the rules as they were, when there is no memory for them.
    bool SetRules(std::vector<CountedRule> rules);

    // Every row goes and its memory with it, and the traffic's history
    // starts afresh; the filter, the rules and their counts stay, and the
    // number kept is the one set again.
    void Clear();

private:
    Departure Leave(size_t count);
    void CountNames(const StoredRow& row, bool held);
    bool MakeRoomInMemory(const net::SyslogRecord& record, bool errorOrWorse, Admission& admission);

    RecordStore store_;
    ShownRows shown_{store_};
    WatchRules rules_;
    TrafficHistory history_;
    HeldCounts counts_;
    HeldNameCounts nameCounts_;
    size_t keepRows_;     // what is kept now
    size_t keepRowsSet_;  // what was asked for
    bool rowsHaveLeft_ = false;
    std::uint64_t admitted_ = 0;
};

}  // namespace records
