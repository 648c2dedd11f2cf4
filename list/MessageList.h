// MessageList.h: the Message list: the report-view control that shows the row book.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "list/RowDrawing.h"
#include "records/RowBook.h"
#include "records/RowSearch.h"
#include "records/ShownCells.h"
#include "settings/ColumnLayout.h"
#include "win/ListView.h"

namespace list {

// The characters whose advances a painted row reads once a paint.
constexpr size_t kAsciiCharacters = 128;

// A run of selected rows: the first, and one past the last.
struct RowRun {
    int first;
    int end;
};

// The selected rows' Capture lines: as received, and as the list shows them.
struct CopiedText {
    std::string bytes;
    std::wstring shown;
};

// The control holds no rows of its own (owner data): it is told their count
// and asks for each text, wide, when it paints, searches or measures it. It shows
// the book's rows shown: its row indices, and those its members take and
// give, are of those. The book's first rule of a row colours and marks it.
// Rows leaving the book's front never move what the user sees by
// themselves: the rows on screen, the selection, the focus and the mark stay
// on the same messages (RowsLeaving.cpp). While paused it shows the book's
// rows shown less those that arrived since.
// Its members live in one file per part: the control, arrival, scrolling and
// notices (MessageList.cpp), rows leaving (RowsLeaving.cpp), selection and
// find (RowSelection.cpp), copy (RowClipboard.cpp), colours and marks
// (RowDrawing.cpp), the rows painted here while optional columns are shown
// (RowPainting.cpp).
class MessageList {
public:
    explicit MessageList(const records::RowBook& book) : book_(book) {}
    MessageList(const MessageList&) = delete;
    MessageList& operator=(const MessageList&) = delete;

    // Creates the control as a child of parent at the given place; false on failure.
    bool Create(HWND parent, int x, int y, int width, int height);

    // Inserts the "From" and "Details" columns and sets the extended style.
    void SetUpColumns();

    // Shows the layout's columns in its order and widths. From and Details
    // stay the control's first two columns wherever they are shown, as
    // readers of the control expect; the headers can be dragged to another
    // order only while an optional column is shown, so the plain list is as
    // it always was.
    void ShowColumns(const settings::ColumnLayout& layout);
    // The columns as the list shows them now, in the order and widths the user left them.
    settings::ColumnLayout Columns() const;
    HWND Header() const { return view_.Header(); }

    // Keeps the columns' widths, the user's own included, the same size on a screen of another DPI.
    void ScaleColumnWidths(int fromDpi, int toDpi);

    HWND Handle() const { return view_.Handle(); }
    int RowCount() const { return view_.Count() - static_cast<int>(lag_); }
    // The book's shown rows the view shows: all of them, or those that arrived before the pause.
    size_t ViewedRows() const;

    // What the book did with a record: the rows that left go from the view,
    // and a new row shown is added; with autoscroll the view moves down by
    // one list height. While more records are coming the redraw is held and
    // the scrolling adds up until ShowHeldBack; the rows and the final view
    // are the same as record by record.
    void Show(const records::Admission& admission, bool autoscroll, bool moreComing);
    // Rows left the book without a record arriving (fewer rows kept).
    void RowsLeft(const records::Departure& departure);

    // Redraws a held-back burst at once and scrolls it as far as its records asked.
    void ShowHeldBack();

    // From now on no row is added to the view and nothing scrolls; rows
    // leaving the book's front still leave it.
    void Pause();
    // The rows that arrived meanwhile are shown at once; with autoscroll the newest is scrolled into view.
    void Resume(bool autoscroll);
    bool Paused() const { return paused_; }
    // The rows shown that arrived since the pause, which the view does not show.
    size_t NewWhilePaused() const { return book_.Shown().Count() - ViewedRows(); }

    // The book is about to let every row go: the control forgets them first,
    // so that it asks for no row that is gone.
    void ForgetRows();
    // The book shows other rows (a filter applied or turned off or on); no row stays selected.
    // With showNewest, as with auto-scroll, the newest row shown is in view, as had the rows arrived so.
    void ShowNewRows(bool showNewest);
    // The rules changed: every row is drawn again.
    void Redraw();

    // Answers the list's text, search and custom-draw requests (the rows drawn
    // in their first rule's colours, else their severity's when colours is on); false for notices it
    // leaves to the default procedure. A double click is reported through rowDoubleClicked.
    bool HandleNotice(NMHDR& notice, bool colours, LRESULT& result, int& rowDoubleClicked);
    // Paints a row the list asks its owner to paint (while optional columns are shown), in the same colours.
    void PaintRow(const DRAWITEMSTRUCT& draw, bool colours);

    bool AnySelected();
    // The focused row when it is selected, else the first selected row; -1 when no row is selected.
    int CurrentRow();
    // The row at a point on the screen, or -1.
    int RowAtScreen(POINT screen);
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
    CopiedText SelectedAsCaptureLines();
    // Puts the selected rows on the clipboard as 8-bit text, their bytes as
    // received, and as Unicode text as shown; with no row selected the
    // clipboard is left as it is. False when the clipboard could not be had.
    bool CopySelected(HWND owner);

private:
    int NextSelected(int after) const;
    void SelectOnly(int row);
    // The view's row as a shown row of the book; -1 for a row that has left.
    int ShownRowOfView(int viewRow) const;
    void SupplyCellText(LVITEMW& item);
    void CatchUp();
    void LetLeftRowsGo();
    void ReadPlace();
    LRESULT DrawRow(NMLVCUSTOMDRAW& draw, bool severityColours) const;
    void SetOwnerDrawn(bool on);
    void ReadCellPlaces(HDC dc);
    RowColours PaintColours(const DRAWITEMSTRUCT& draw, const records::StoredRow& stored, bool severityColours) const;
    void DrawMark(HDC dc, int row) const;

    // Where a painted row's texts lie, left to right, in the list's client area.
    struct CellPlace {
        settings::ListColumn column;
        int textLeft;
        int textRight;
    };
    struct CellPlaces {
        bool known = false;
        int count = 0;
        std::array<CellPlace, settings::kListColumnCount> cells;
        int textHeight = 0;
        std::array<int, kAsciiCharacters> asciiWidths;  // each ASCII character's advance in the list's font
        int ellipsisWidth = 0;
    };

    const records::RowBook& book_;
    win::ListView view_;
    std::array<settings::ListColumn, settings::kListColumnCount> columnAt_{};  // by the control's column index
    int columnCount_ = 0;
    records::ShownCells cells_;
    bool ownerDrawn_ = false;  // the rows are painted by PaintRow
    CellPlaces places_;        // read again at the start of each paint
    bool redrawHeld_ = false;
    int pendingScrolls_ = 0;  // one list height each, held back with the redraw
    // Shown rows that have left the book but are still the control's first
    // rows: the control's row r is the book's shown row r - lag_.
    size_t lag_ = 0;
    // The selection and focus as the list last set them, while the user has
    // not changed them since: reading them from the control costs a pass over
    // every row.
    std::vector<RowRun> selectedRuns_;
    int focusedRow_ = -1;
    bool placeKnown_ = false;
    bool movingPlace_ = false;  // the control's notices of the list's own changes change nothing
    bool paused_ = false;
    std::uint64_t pausedAt_ = 0;  // the store's number of the first row that arrived after the pause
};

}  // namespace list
