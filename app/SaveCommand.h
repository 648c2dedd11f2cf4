// SaveCommand.h: the Save command: every row's record written to a file the user chooses.
#pragma once

#include <windows.h>

#include "records/ShownRows.h"

namespace app {

// Asks for a file and writes one line per shown row the list shows (its
// first count), in list order, in the Capture file's format. Cancelling does
// nothing; a file that cannot be opened is reported.
void RunSaveCommand(HWND owner, const records::ShownRows& rows, size_t count);

}  // namespace app
