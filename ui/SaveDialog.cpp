// SaveDialog.cpp: the dialog's description; the current folder is left as it is.
#include "ui/SaveDialog.h"

#include <commdlg.h>

namespace ui {

namespace {

const wchar_t kSavedFileFilter[] = L"TXT Files (*.TXT)\0*.TXT\0All files (*.*)\0*.*\0";
const wchar_t kSavedFileExtension[] = L"TXT";

}  // namespace

bool AskForSavePath(HWND owner, wchar_t (&path)[MAX_PATH]) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kSavedFileFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    // The current folder stays put, so a relative capture name keeps naming the same file.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    dialog.lpstrDefExt = kSavedFileExtension;
    return GetSaveFileNameW(&dialog) != FALSE;
}

}  // namespace ui
