// SaveCommand.h: the Save command: every row's record written to a file the user chooses.
#pragma once

#include <windows.h>

#include "records/RecordStore.h"

namespace app {

// Asks for a file and writes one line per row, in list order, in the Capture
// file's format. Cancelling does nothing; a file that cannot be opened is reported.
void RunSaveCommand(HWND owner, const records::RecordStore& rows);

}  // namespace app
