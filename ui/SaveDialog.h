// SaveDialog.h: the system's save-file dialog as the Save command asks for a file.
#pragma once

#include <windows.h>

namespace ui {

// Asks for a text file to save the rows into, over owner; the path chosen
// goes into path. False when the user cancelled or the dialog failed.
bool AskForSavePath(HWND owner, wchar_t (&path)[MAX_PATH]);

}  // namespace ui
