// SaveCommand.cpp: the save-file dialog, then the rows as Capture lines.
#include "app/SaveCommand.h"

#include <cstdio>

#include "diag/DiagnosticReporter.h"
#include "records/CaptureLine.h"
#include "ui/SaveDialog.h"

namespace app {

void RunSaveCommand(HWND owner, const records::ShownRows& rows, size_t count) {
    wchar_t path[MAX_PATH] = {};
    if (!ui::AskForSavePath(owner, path)) return;

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
