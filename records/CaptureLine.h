// CaptureLine.h: one record as a line of text: sender, comma, message (quoted when it holds a comma).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "diag/StatusCode.h"
#include "net/SyslogRecord.h"
#include "records/ShownRows.h"
#include "records/StoredRow.h"

namespace records {

// Writes the record's line into a text-mode stream, through the stream's
// buffer. 0, or the status of the first write that failed (a write the system
// took only in part is a full disk); the pieces written
// before it stay in the stream.
StatusCode WriteCaptureLine(FILE* stream, const net::SyslogRecord& record);

// The same line for a row of the Message list.
StatusCode WriteCaptureLine(FILE* stream, const StoredRow& row);

// One line per shown row, first to last (at most the first count), into the
// stream; stops at the first failure.
StatusCode WriteAllRows(const ShownRows& rows, FILE* stream, size_t count = SIZE_MAX);

// The message is put in double quotes when it holds a comma, and only then.
bool CaptureLineQuotes(const char* message);

// Appends the row's line as WriteCaptureLine leaves it in a file, byte for
// byte: every line feed, the line's end included, as CR LF.
void AppendCaptureLine(std::string& out, const StoredRow& row);

// The status of the runtime's last failed stream call; never 0.
StatusCode LastRuntimeStatus();

// Clears what the runtime and the thread recorded of earlier failures, so that
// the next failed write names its own cause.
void PrepareForWrite();

// The status of a failed write, flush or close; a write the system took only
// in part names no error of its own and reads as a full disk.
StatusCode LastWriteStatus();

}  // namespace records
