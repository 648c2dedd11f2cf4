// RowsBench.h: the in-process measurements behind the row figures.
#pragma once

namespace bench {

// One million records through the Main window: time per 100k block, private
// bytes per row, then Save (all rows written) and Clear timed.
int RunMainWindowRows();

// Private bytes per row of a bare list-view of the same style holding one
// million rows with texts on demand: the list's own cost of a row.
int RunListViewBaseline();

// Private bytes per record of one million records held alone.
int RunRecordFootprint();

// One million realistic rows: each filter applied and turned off until the
// list shows it, the memory of the view, Find over it, and arrival with and
// without a filter.
int RunFilterRows();

// The row book full: ten million records through a list that keeps the
// newest million (memory, cost of a record early and late), then ten million
// rows held (bytes a row, a filter, Find, Clear).
int RunBookRows();

// The watch rules of an INI file's section in force against none: numbered
// rows arriving through the Main window, and screens of them painted.
int RunWatchRows(const wchar_t* rulesIniPath);

// Twenty thousand realistic rows, some of them UTF-8: screens of them painted
// with every column shown against the two columns, in turns.
int RunColumnRows();

// The traffic's counters alone against a record's admission to the book;
// arrival through the Main window; then a million rows held over a day and
// the Traffic window painted and updated for each span.
int RunTrafficRows();

}  // namespace bench
