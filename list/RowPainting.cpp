// RowPainting.cpp: while optional columns are shown the list has its owner paint each row, all its cells in one pass.
#include "list/MessageList.h"

#include "records/SyslogPriority.h"
#include "win/Dpi.h"

namespace list {

namespace {

// Between a cell's left edge and its text, at 96 DPI, where the list-view
// puts it: a little more in its first column, whose text is the row's label.
constexpr int kCellPadding = 5;
constexpr int kLabelPadding = 7;
constexpr wchar_t kEllipsis[] = L"...";
constexpr size_t kEllipsisLength = sizeof kEllipsis / sizeof kEllipsis[0] - 1;
// The longest text a cell shows, as the list's own cells do.
constexpr size_t kCellTextCapacity = 260;
constexpr size_t kRowTextCapacity = settings::kListColumnCount * (kCellTextCapacity + kEllipsisLength);

// A row's cells as one text with each character's advance, so that one call
// draws them all, each cell's text starting at its own place.
class RowText {
public:
    RowText(HDC dc, const std::array<int, kAsciiCharacters>& asciiWidths, int ellipsisWidth)
        : dc_(dc), asciiWidths_(asciiWidths), ellipsisWidth_(ellipsisWidth) {}

    // The cell's text from x on, cut with an ellipsis to what fits in room.
    void Add(const wchar_t* text, size_t length, int x, int room) {
        if (length == 0 || room <= 0) return;
        int extents[kCellTextCapacity];
        size_t fits = Measure(text, length, room, extents);
        if (fits < length) {
            while (fits > 0 && extents[fits - 1] + ellipsisWidth_ > room) --fits;
            MoveTo(x);
            Append(text, fits, extents);
            AppendEllipsis();
            return;
        }
        MoveTo(x);
        Append(text, fits, extents);
    }

    void Draw(int textTop, const RECT& clip) const {
        ExtTextOutW(dc_, firstX_, textTop, ETO_CLIPPED, &clip, text_, static_cast<UINT>(length_), advances_);
    }

private:
    // How many characters fit in room, and the extent of each from the text's start.
    size_t Measure(const wchar_t* text, size_t length, int room, int (&extents)[kCellTextCapacity]) const {
        int extent = 0;
        for (size_t i = 0; i < length; ++i) {
            if (text[i] >= kAsciiCharacters) {
                int fits = 0;
                SIZE size{};
                GetTextExtentExPointW(dc_, text, static_cast<int>(length), room, &fits, extents, &size);
                return static_cast<size_t>(fits);
            }
            extent += asciiWidths_[text[i]];
            if (extent > room) return i;
            extents[i] = extent;
        }
        return length;
    }

    // The pen goes on to x: the last character so far takes the gap in its advance.
    void MoveTo(int x) {
        if (length_ == 0)
            firstX_ = x;
        else
            advances_[length_ - 1] += x - penX_;
        penX_ = x;
    }

    void Append(const wchar_t* text, size_t count, const int* extents) {
        int previous = 0;
        for (size_t i = 0; i < count; ++i) {
            text_[length_] = text[i];
            advances_[length_++] = extents[i] - previous;
            previous = extents[i];
        }
        penX_ += previous;
    }

    void AppendEllipsis() {
        for (size_t i = 0; i < kEllipsisLength; ++i) {
            text_[length_] = kEllipsis[i];
            advances_[length_++] = asciiWidths_[kEllipsis[i]];
            penX_ += asciiWidths_[kEllipsis[i]];
        }
    }

    HDC dc_;
    const std::array<int, kAsciiCharacters>& asciiWidths_;
    int ellipsisWidth_;
    wchar_t text_[kRowTextCapacity];
    int advances_[kRowTextCapacity];
    size_t length_ = 0;
    int firstX_ = 0;
    int penX_ = 0;
};

}  // namespace

// The list draws its rows itself, as it always did, while only From and
// Details are shown; with more columns its cost per cell would be paid for
// each of them, so the rows are painted here, the row's header read once.
void MessageList::SetOwnerDrawn(bool on) {
    ownerDrawn_ = on;
    places_.known = false;
    const LONG_PTR style = GetWindowLongPtrW(view_.Handle(), GWL_STYLE);
    const LONG_PTR wanted = on ? style | LVS_OWNERDRAWFIXED : style & ~static_cast<LONG_PTR>(LVS_OWNERDRAWFIXED);
    if (wanted != style) SetWindowLongPtrW(view_.Handle(), GWL_STYLE, wanted);
}

// Read once a paint, from its first row on: every row of it has the same
// columns and font. The columns lie under their headers, which scroll with the list.
void MessageList::ReadCellPlaces(HDC dc) {
    int order[settings::kListColumnCount];
    places_.count = view_.ColumnOrder(order, columnCount_) ? columnCount_ : 0;
    const int dpi = win::WindowDpi(view_.Handle());
    int left = places_.count > 0 ? view_.ColumnLeft(order[0]) : 0;
    for (int position = 0; position < places_.count; ++position) {
        CellPlace& place = places_.cells[static_cast<size_t>(position)];
        place.column = columnAt_[static_cast<size_t>(order[position])];
        const int padding = win::ScaleToDpi(order[position] == 0 ? kLabelPadding : kCellPadding, dpi);
        place.textLeft = left + padding;
        left += view_.ColumnWidth(order[position]);
        place.textRight = left - padding / 2;
    }
    TEXTMETRICW font{};
    GetTextMetricsW(dc, &font);
    places_.textHeight = font.tmHeight;
    GetCharWidth32W(dc, 0, kAsciiCharacters - 1, places_.asciiWidths.data());
    places_.ellipsisWidth = 0;
    for (size_t i = 0; i < kEllipsisLength; ++i) places_.ellipsisWidth += places_.asciiWidths[kEllipsis[i]];
    places_.known = true;
}

// The selection's colours, else the row's rule's or severity's, else the list's own.
RowColours MessageList::PaintColours(const DRAWITEMSTRUCT& draw, const records::StoredRow& stored,
                                     bool severityColours) const {
    if (draw.itemState & ODS_SELECTED) {
        if (GetFocus() == view_.Handle()) return {GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
        return {GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE)};
    }
    RowColours colours = {CLR_DEFAULT, CLR_DEFAULT};
    if (stored.firstRule != records::kNoRule)
        colours = RuleColours(book_.Rules().Rule(static_cast<size_t>(stored.firstRule)));
    else if (severityColours)
        SeverityColours(records::LeadingPriority(stored.message, stored.messageLength), colours);
    if (colours.text == CLR_DEFAULT) colours.text = GetSysColor(COLOR_WINDOWTEXT);
    if (colours.background == CLR_DEFAULT) colours.background = GetSysColor(COLOR_WINDOW);
    return colours;
}

// Each cell's text is cut to its column, above the grid line at the row's
// foot, with an ellipsis where it does not fit, as the list's own cells are.
void MessageList::PaintRow(const DRAWITEMSTRUCT& draw, bool severityColours) {
    const int row = static_cast<int>(draw.itemID);
    const int shown = ShownRowOfView(row);
    if (shown < 0) return;
    const HDC dc = draw.hDC;
    if (!places_.known) ReadCellPlaces(dc);
    const records::StoredRow stored = book_.Shown().Row(static_cast<size_t>(shown));
    const RowColours colours = PaintColours(draw, stored, severityColours);
    SetBkColor(dc, colours.background);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &draw.rcItem, nullptr, 0, nullptr);
    SetTextColor(dc, colours.text);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT clip;
    GetClipBox(dc, &clip);
    RECT bounds = draw.rcItem;
    bounds.bottom -= 1;
    const int textTop = bounds.top + (bounds.bottom - bounds.top - places_.textHeight) / 2;
    RowText text(dc, places_.asciiWidths, places_.ellipsisWidth);
    for (int position = 0; position < places_.count; ++position) {
        const CellPlace& place = places_.cells[static_cast<size_t>(position)];
        if (place.textLeft >= clip.right) break;
        if (place.textRight <= clip.left) continue;
        wchar_t cell[kCellTextCapacity];
        const size_t length = cells_.Write(book_.Shown(), static_cast<size_t>(shown), place.column, cell,
                                           kCellTextCapacity);
        text.Add(cell, length, place.textLeft, place.textRight - place.textLeft);
    }
    text.Draw(textTop, bounds);
    SetBkMode(dc, oldMode);
    if (IsMarked(row)) DrawMark(dc, row);
    if (draw.itemState & ODS_FOCUS) DrawFocusRect(dc, &draw.rcItem);
}

}  // namespace list
