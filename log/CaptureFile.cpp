// CaptureFile.cpp: opening for appending with writers denied, writing, closing.
#include "log/CaptureFile.h"

#include <share.h>

#include "diag/DiagnosticReporter.h"
#include "log/CaptureLine.h"
#include "settings/Settings.h"

namespace messagelog {

void CaptureFile::OpenIfWanted(const settings::Settings& settings) {
    if (!settings.ToFile) return;
    _doserrno = 0;
    file_ = _wfsopen(settings.FileName, L"a", _SH_DENYWR);
    if (!file_) diag::Report(LastRuntimeStatus(), L"Cannot open file %s\n", settings.FileName);
}

void CaptureFile::Close() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
}

StatusCode CaptureFile::Write(const net::SyslogRecord& record) {
    return WriteCaptureLine(file_, record);
}

}  // namespace messagelog
