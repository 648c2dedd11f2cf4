// ColumnLayout.h: the Message list's columns: which are shown, in what order and how wide, and their INI keys.
#pragma once

#include <array>
#include <cstddef>

namespace settings {

// Every column a row can be shown in. From and Details are always shown;
// the others only once the user asks for them.
enum class ListColumn : unsigned char { From, Details, Received, Time, Host, Facility, Severity, App, Pid, MsgId, Message };
constexpr size_t kListColumnCount = 11;

// Its header, which is also its name in the INI file.
const char* ColumnName(ListColumn column);
// Its width when it is first shown, in pixels at 96 DPI.
int UsualColumnWidth(ListColumn column);

constexpr bool IsOptional(ListColumn column) {
    return column != ListColumn::From && column != ListColumn::Details;
}

struct ShownColumn {
    ListColumn column;
    int width;  // in pixels at 96 DPI

    bool operator==(const ShownColumn& other) const { return column == other.column && width == other.width; }
};

// The columns shown, left to right. Always From and Details; with no other
// column shown, From comes first: the list as it always was.
class ColumnLayout {
public:
    static constexpr int kWidestColumn = 10000;

    // From and Details at their usual widths.
    ColumnLayout();

    size_t Count() const { return count_; }
    const ShownColumn& operator[](size_t position) const { return columns_[position]; }
    bool Shows(ListColumn column) const;
    // No optional column is shown.
    bool IsPlain() const;

    // Shows an optional column (just before Details, at its usual width) or
    // hides it; the others keep their places and widths, and From goes back
    // before Details when the last optional column goes.
    void Show(ListColumn column, bool shown);
    // Sets the columns as they are now, left to right, their widths at 96
    // DPI: every column at most once, From and Details among them. False,
    // with the layout as it was, for any other list.
    bool Set(const ShownColumn* columns, size_t count);

    bool operator==(const ColumnLayout& other) const;
    bool operator!=(const ColumnLayout& other) const { return !(*this == other); }

private:
    std::array<ShownColumn, kListColumnCount> columns_;
    size_t count_;
};

// The layout in [Settings] of the INI file: "Columns" names the columns left
// to right ("From,Received,Host,Details"), "ColumnWidths" gives their widths
// in the same order. Absent keys give the plain layout; a value that cannot
// be read is reported and the plain layout (or, for the widths, the usual
// widths) taken instead.
ColumnLayout ReadColumnLayout(const wchar_t* iniPath);

// Writes both keys; a plain layout removes them, so a file of a list as it
// always was has neither.
void WriteColumnLayout(const wchar_t* iniPath, const ColumnLayout& layout);

}  // namespace settings
