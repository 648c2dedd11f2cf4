// ShownCells.h: the wide text a shown row has in each column of the list, its header read once per row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "records/ShownRows.h"
#include "records/StoredRow.h"
#include "records/SyslogHeader.h"
#include "settings/ColumnLayout.h"

namespace records {

// The list asks for a row's cells one after another as it paints the row,
// so the row read last is kept, and its header read once, when a column
// needs it: nothing is kept per row, nothing allocated. Every column shows
// a message alike: decoded as UTF-8 when the whole message is shown so.
class ShownCells {
public:
    // Writes the text of the shown row (row < rows.Count()) in the column
    // into out: at most capacity wide characters with the terminating zero.
    // Answers the characters written less the zero.
    size_t Write(const ShownRows& rows, size_t row, settings::ListColumn column, wchar_t* out, size_t capacity);

    // The rows are numbered afresh (every row went): the row read last may
    // come back under its number.
    void Forget() { known_ = false; }

private:
    void Read(const ShownRows& rows, size_t row);
    bool Utf8();
    const SyslogHeader& Header();
    size_t WriteField(const FieldSpan& field, wchar_t* out, size_t capacity);

    bool known_ = false;
    std::uint64_t number_ = 0;  // among every row the store took since it was last cleared
    StoredRow stored_{};
    bool utf8Known_ = false;
    bool utf8_ = false;
    bool headerRead_ = false;
    SyslogHeader header_;
};

}  // namespace records
