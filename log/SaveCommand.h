// SaveCommand.h: writing the rows the list shows to a file the user chooses.
#pragma once

#include <windows.h>

#include <cstdio>

#include "diag/StatusCode.h"
#include "records/ShownRows.h"

namespace messagelog {

// Asks for a file and writes one line per shown row, in list order, in the
// Capture file's format. Cancelling does nothing; a file that cannot be opened is reported.
void RunSaveCommand(HWND owner, const records::ShownRows& rows);

// Writes one Capture line per shown row, first to last, into the stream.
StatusCode WriteAllRows(const records::ShownRows& rows, FILE* stream);

}  // namespace messagelog
