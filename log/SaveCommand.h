// SaveCommand.h: writing every row's record to a file the user chooses.
#pragma once

#include <windows.h>

#include <cstdio>

#include "diag/StatusCode.h"
#include "log/RecordStore.h"

namespace messagelog {

// Asks for a file and writes one line per row, in list order, in the Capture
// file's format. Cancelling does nothing; a file that cannot be opened is reported.
void RunSaveCommand(HWND owner, const RecordStore& rows);

// Writes one Capture line per row, first to last, into the stream.
StatusCode WriteAllRows(const RecordStore& rows, FILE* stream);

}  // namespace messagelog
