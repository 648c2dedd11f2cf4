// SaveCommand.cpp: the save-file dialog, then the rows as Capture lines.
#include "app/SaveCommand.h"

#include <commdlg.h>

#include <cstdio>

#include "diag/DiagnosticReporter.h"
#include "records/CaptureLine.h"

namespace app {

namespace {

const wchar_t kSavedFileFilter[] = L"TXT Files (*.TXT)\0*.TXT\0All files (*.*)\0*.*\0";
const wchar_t kSavedFileExtension[] = L"TXT";

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

}  // namespace

void RunSaveCommand(HWND owner, const records::ShownRows& rows, size_t count) {
    wchar_t path[MAX_PATH] = {};
    if (!AskForSavePath(owner, path)) return;

    _doserrno = 0;
    FILE* const stream = _wfopen(path, L"w+t");
    if (!stream) {
        diag::Report(records::LastRuntimeStatus(), L"Cannot open file\n%s\n", path);
        return;
    }
    // A failed write must not pass for a saved file.
    StatusCode saved = records::WriteAllRows(rows, stream, count);
    if (std::fclose(stream) != 0 && saved == S_OK) saved = records::LastRuntimeStatus();
    if (FAILED(saved)) diag::Report(saved, L"Failed to write in file\n");
}

}  // namespace app
