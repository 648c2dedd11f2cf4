// ColumnLayout.cpp: the columns' names and widths, and their INI texts read and written without allocating.
#include "settings/ColumnLayout.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "diag/DiagnosticReporter.h"
#include "settings/IniSection.h"

namespace settings {

namespace {

struct ColumnTraits {
    const char* name;
    int width;
};
// In ListColumn's order.
constexpr ColumnTraits kColumns[kListColumnCount] = {
    {"From", 75},     {"Details", 800}, {"Received", 130}, {"Time", 120}, {"Host", 100},    {"Facility", 65},
    {"Severity", 80}, {"App", 90},      {"PID", 55},       {"MsgID", 70}, {"Message", 400},
};

const wchar_t kColumnsKey[] = L"Columns";
const wchar_t kWidthsKey[] = L"ColumnWidths";
constexpr size_t kTextCapacity = 256;  // far more than every name or width takes
constexpr size_t kWhyCapacity = 128;

size_t IndexOf(ListColumn column) {
    return static_cast<size_t>(column);
}

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// A comma-separated text's items, one at a time, the spaces around each left out.
class Items {
public:
    explicit Items(const wchar_t* text) : at_(text) {}

    bool Next(const wchar_t*& first, size_t& length) {
        if (done_) return false;
        const wchar_t* end = at_;
        while (*end && *end != L',') ++end;
        first = at_;
        const wchar_t* last = end;
        while (first < last && IsSpace(*first)) ++first;
        while (last > first && IsSpace(last[-1])) --last;
        length = static_cast<size_t>(last - first);
        done_ = *end == L'\0';
        at_ = done_ ? end : end + 1;
        return true;
    }

private:
    const wchar_t* at_;
    bool done_ = false;
};

bool NameIs(const wchar_t* text, size_t length, const char* name) {
    if (std::strlen(name) != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (towlower(text[i]) != towlower(static_cast<wchar_t>(name[i]))) return false;
    return true;
}

bool ColumnNamed(const wchar_t* text, size_t length, ListColumn& column) {
    for (size_t index = 0; index < kListColumnCount; ++index) {
        if (!NameIs(text, length, kColumns[index].name)) continue;
        column = static_cast<ListColumn>(index);
        return true;
    }
    return false;
}

// The names are ASCII.
void Widen(const char* text, wchar_t (&out)[kWhyCapacity]) {
    size_t length = 0;
    for (; text[length] && length + 1 < kWhyCapacity; ++length) out[length] = static_cast<wchar_t>(text[length]);
    out[length] = L'\0';
}

// The item, quoted, as a reason names it.
void Quote(const wchar_t* text, size_t length, const wchar_t* format, wchar_t (&why)[kWhyCapacity]) {
    wchar_t item[kWhyCapacity / 2];
    const size_t shown = std::min(length, sizeof item / sizeof item[0] - 1);
    std::wmemcpy(item, text, shown);
    item[shown] = L'\0';
    std::swprintf(why, kWhyCapacity, format, item);
}

bool ReadColumns(const wchar_t* text, ShownColumn (&columns)[kListColumnCount], size_t& count,
                 wchar_t (&why)[kWhyCapacity]) {
    bool seen[kListColumnCount] = {};
    count = 0;
    Items items(text);
    const wchar_t* name;
    size_t length;
    while (items.Next(name, length)) {
        ListColumn column;
        if (!ColumnNamed(name, length, column)) {
            Quote(name, length, L"unknown column \"%ls\"", why);
            return false;
        }
        if (seen[IndexOf(column)]) {
            Quote(name, length, L"\"%ls\" named twice", why);
            return false;
        }
        seen[IndexOf(column)] = true;
        columns[count++] = {column, kColumns[IndexOf(column)].width};
    }
    for (const ListColumn always : {ListColumn::From, ListColumn::Details}) {
        if (seen[IndexOf(always)]) continue;
        wchar_t name[kWhyCapacity];
        Widen(ColumnName(always), name);
        Quote(name, std::wcslen(name), L"\"%ls\" missing", why);
        return false;
    }
    return true;
}

// Plain digits, as they are written.
bool ReadWidth(const wchar_t* text, size_t length, int& width) {
    if (length == 0 || length > 5) return false;
    width = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
        width = width * 10 + (text[i] - L'0');
    }
    return width <= ColumnLayout::kWidestColumn;
}

bool ReadWidths(const wchar_t* text, ShownColumn (&columns)[kListColumnCount], size_t count,
                wchar_t (&why)[kWhyCapacity]) {
    int widths[kListColumnCount];
    size_t found = 0;
    Items items(text);
    const wchar_t* item;
    size_t length;
    while (items.Next(item, length)) {
        if (found < count && !ReadWidth(item, length, widths[found])) {
            wchar_t format[kWhyCapacity];
            std::swprintf(format, kWhyCapacity, L"\"%%ls\" is not a width from 0 to %d", ColumnLayout::kWidestColumn);
            Quote(item, length, format, why);
            return false;
        }
        ++found;
    }
    if (found != count) {
        std::swprintf(why, kWhyCapacity, L"%u widths for %u columns", static_cast<unsigned>(found),
                      static_cast<unsigned>(count));
        return false;
    }
    for (size_t position = 0; position < count; ++position) columns[position].width = widths[position];
    return true;
}

// The value, and whether it is there at all: "" stands for a missing key.
bool ReadValue(const wchar_t* iniPath, const wchar_t* key, wchar_t (&text)[kTextCapacity]) {
    const DWORD length = GetPrivateProfileStringW(kSettingsSection, key, L"", text, kTextCapacity, iniPath);
    return length > 0;
}

}  // namespace

const char* ColumnName(ListColumn column) {
    return kColumns[IndexOf(column)].name;
}

int UsualColumnWidth(ListColumn column) {
    return kColumns[IndexOf(column)].width;
}

ColumnLayout::ColumnLayout() : columns_{}, count_(2) {
    columns_[0] = {ListColumn::From, UsualColumnWidth(ListColumn::From)};
    columns_[1] = {ListColumn::Details, UsualColumnWidth(ListColumn::Details)};
}

bool ColumnLayout::Shows(ListColumn column) const {
    for (size_t position = 0; position < count_; ++position)
        if (columns_[position].column == column) return true;
    return false;
}

bool ColumnLayout::IsPlain() const {
    return count_ == 2;
}

void ColumnLayout::Show(ListColumn column, bool shown) {
    if (!IsOptional(column) || Shows(column) == shown) return;
    ShownColumn changed[kListColumnCount];
    size_t count = 0;
    for (size_t position = 0; position < count_; ++position) {
        const ShownColumn& standing = columns_[position];
        if (shown && standing.column == ListColumn::Details) changed[count++] = {column, UsualColumnWidth(column)};
        if (standing.column != column) changed[count++] = standing;
    }
    Set(changed, count);
}

bool ColumnLayout::Set(const ShownColumn* columns, size_t count) {
    bool seen[kListColumnCount] = {};
    for (size_t position = 0; position < count; ++position) {
        const size_t index = IndexOf(columns[position].column);
        if (index >= kListColumnCount || seen[index]) return false;
        seen[index] = true;
    }
    if (!seen[IndexOf(ListColumn::From)] || !seen[IndexOf(ListColumn::Details)]) return false;
    std::copy(columns, columns + count, columns_.begin());
    count_ = count;
    if (IsPlain() && columns_[0].column != ListColumn::From) std::swap(columns_[0], columns_[1]);
    return true;
}

bool ColumnLayout::operator==(const ColumnLayout& other) const {
    return count_ == other.count_ && std::equal(columns_.begin(), columns_.begin() + count_, other.columns_.begin());
}

ColumnLayout ReadColumnLayout(const wchar_t* iniPath) {
    ColumnLayout layout;
    ShownColumn columns[kListColumnCount];
    size_t count = layout.Count();
    for (size_t position = 0; position < count; ++position) columns[position] = layout[position];
    wchar_t text[kTextCapacity];
    wchar_t why[kWhyCapacity];
    if (ReadValue(iniPath, kColumnsKey, text)) {
        if (!ReadColumns(text, columns, count, why)) {
            diag::Report(S_OK, L"Cannot read Columns=%ls in the INI file (%ls): the list shows From and Details\n",
                         text, why);
            return layout;
        }
    }
    if (ReadValue(iniPath, kWidthsKey, text) && !ReadWidths(text, columns, count, why))
        diag::Report(S_OK, L"Cannot read ColumnWidths=%ls in the INI file (%ls): the columns take their usual widths\n",
                     text, why);
    layout.Set(columns, count);
    return layout;
}

void WriteColumnLayout(const wchar_t* iniPath, const ColumnLayout& layout) {
    if (layout.IsPlain()) {
        WritePrivateProfileStringW(kSettingsSection, kColumnsKey, nullptr, iniPath);
        WritePrivateProfileStringW(kSettingsSection, kWidthsKey, nullptr, iniPath);
        return;
    }
    wchar_t names[kTextCapacity] = {};
    wchar_t widths[kTextCapacity] = {};
    for (size_t position = 0; position < layout.Count(); ++position) {
        const wchar_t* comma = position == 0 ? L"" : L",";
        wchar_t name[kWhyCapacity];
        Widen(ColumnName(layout[position].column), name);
        const size_t namesLength = std::wcslen(names);
        const size_t widthsLength = std::wcslen(widths);
        std::swprintf(names + namesLength, kTextCapacity - namesLength, L"%ls%ls", comma, name);
        std::swprintf(widths + widthsLength, kTextCapacity - widthsLength, L"%ls%d", comma, layout[position].width);
    }
    WritePrivateProfileStringW(kSettingsSection, kColumnsKey, names, iniPath);
    WritePrivateProfileStringW(kSettingsSection, kWidthsKey, widths, iniPath);
}

}  // namespace settings
