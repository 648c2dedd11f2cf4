// MessageList.h: the Message list: the report-view control and the store of its rows, owned together.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "net/SyslogRecord.h"
#include "records/RecordStore.h"
#include "records/RowMatches.h"
#include "records/RowSearch.h"
#include "records/ShownRows.h"
#include "records/WatchRules.h"
#include "win/ListView.h"

namespace list {

// The control holds no rows of its own (owner data): it is told their count
// and asks for each text when it paints, searches or measures it. It shows
// every stored row or, while a filter is in force, those that pass it: its
// row indices, and those its members take and give, are of the rows shown.
// The watch rules colour and mark the rows they match.
// Its members live in one file per part: the control, arrival, scrolling,
// the filter, the rules and notices (MessageList.cpp), selection and find
// (RowSelection.cpp), copy (RowClipboard.cpp), colours and marks (RowDrawing.cpp).
class MessageList {
public:
    // mostStoredBytes: the most the rows may take from the system.
    explicit MessageList(size_t mostStoredBytes = records::RecordStore::kNoLimit) : store_(mostStoredBytes) {}
    MessageList(const MessageList&) = delete;
    MessageList& operator=(const MessageList&) = delete;

    // Creates the control as a child of parent at the given place; false on failure.
    bool Create(HWND parent, int x, int y, int width, int height);

    // Inserts the "From" and "Details" columns and sets the extended style.
    void SetUpColumns();

    // Keeps the columns' widths, the user's own included, the same size on a screen of another DPI.
    void ScaleColumnWidths(int fromDpi, int toDpi);

    HWND Handle() const { return view_.Handle(); }
    const records::RecordStore& Rows() const { return store_; }
    const records::ShownRows& Shown() const { return shown_; }
    const records::WatchRules& Rules() const { return rules_; }
    int RowCount() const { return view_.Count(); }

    // Copies the record into a new last row, then releases it. When the store
    // cannot grow the row is lost, and a diagnostic says so once until Clear.
    // A row the filter in force hides is kept unseen, and nothing scrolls for
    // it. With autoscroll the view moves down by one list height. While more
    // records are coming the redraw is held and the scrolling adds up until
    // ShowHeldBack; the rows and the final view are the same as record by record.
    // firstRule: the watch rule whose colours and mark the row takes (Watch gave it).
    bool Append(net::RecordPtr record, bool autoscroll, bool moreComing, int firstRule = records::kNoRule);

    // An arriving record, shown or not, is counted by every rule it matches.
    records::WatchMatch Watch(const net::SyslogRecord& record);
    // Takes the rules in force and tries every row on them again; false, with
    // the rules as they were, when there is no memory for them.
    bool SetRules(std::vector<records::CountedRule> rules);

    // Redraws a held-back burst at once and scrolls it as far as its records asked.
    void ShowHeldBack();

    // Deletes every row, shown or hidden, and gives their memory back; the filter stays.
    void Clear();

    // Shows the rows that pass the filter, which is turned on; no row stays selected.
    void ApplyFilter(records::RowFilter filter);
    // Turns the filter off (every row shown) or on again.
    void SetFilterOn(bool on);

    // Answers the list's text, search and custom-draw requests (the rows drawn
    // in their first rule's colours, else their severity's when colours is on); false for notices it
    // leaves to the default procedure. A double click is reported through rowDoubleClicked.
    bool HandleNotice(NMHDR& notice, bool colours, LRESULT& result, int& rowDoubleClicked) const;

    bool AnySelected() const;
    // The focused row when it is selected, else the first selected row; -1 when no row is selected.
    int CurrentRow() const;
    // The row at a point on the screen, or -1.
    int RowAtScreen(POINT screen) const;
    void SelectAll();
    // From the row after the current one (or before it, going up) on, without
    // wrapping round, the first row whose From or Details text holds what the
    // matcher looks for is selected alone and scrolled into view; false when none.
    bool Find(const records::TextMatcher& matcher, bool down);
    // The same for the next (or previous) row a rule marks.
    bool FindMarked(bool down);
    // Whether the row's first rule marks it.
    bool IsMarked(int row) const;

    // The selected rows' Capture lines, one per row, in list order.
    std::string SelectedAsCaptureLines() const;
    // Puts the selected rows on the clipboard as 8-bit text; with no row selected
    // the clipboard is left as it is. False when the clipboard could not be had.
    bool CopySelected(HWND owner) const;

private:
    int NextSelected(int after) const;
    void SelectOnly(int row);
    void ShowChosenRows(bool chosen);
    int RuleOfRow(size_t row) const;
    LRESULT DrawRow(NMLVCUSTOMDRAW& draw, bool severityColours) const;
    void DrawMark(HDC dc, int row) const;

    win::ListView view_;
    records::RecordStore store_;
    records::ShownRows shown_{store_};
    records::WatchRules rules_;
    records::RowMatches matches_;  // by store index
    bool toldStoreFull_ = false;
    bool redrawHeld_ = false;
    int pendingScrolls_ = 0;  // one list height each, held back with the redraw
};

}  // namespace list
