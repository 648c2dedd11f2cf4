// RowsKeptNotices.h: what the pane is told when rows leave the list, or cannot be kept at all.
#pragma once

#include <cstddef>

#include "records/RowBook.h"

namespace app {

// The first rows to leave are told once a run, with the number of rows the
// list keeps as set; each time memory makes the list keep fewer, it is told
// with the new number; a row that cannot be kept at all is told once until
// Clear.
class RowsKeptNotices {
public:
    // hold: the record was to be kept. captureFileOpen: the Capture file still gets every message.
    void Admitted(const records::Admission& admission, bool hold, size_t keepRowsSet, size_t keepRowsNow,
                  bool captureFileOpen);
    void Departed(const records::Departure& departure, size_t keepRowsSet, bool captureFileOpen);
    void Cleared() { toldNotKept_ = false; }

private:
    bool toldNotKept_ = false;
};

}  // namespace app
