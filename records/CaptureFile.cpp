// CaptureFile.cpp: opening for appending with writers denied, writing, flushing, closing.
#include "records/CaptureFile.h"

#include <share.h>

#include "diag/DiagnosticReporter.h"
#include "records/CaptureLine.h"
#include "settings/Settings.h"

namespace records {

namespace {
const wchar_t kWriteFailed[] = L"Failed to write in file\n";
}

void CaptureFile::OpenIfWanted(const settings::Settings& settings) {
    if (!settings.ToFile) return;
    _doserrno = 0;
    file_ = _wfsopen(settings.FileName, L"a", _SH_DENYWR);
    if (!file_) diag::Report(LastRuntimeStatus(), L"Cannot open file %s\n", settings.FileName);
}

void CaptureFile::Close() {
    const StatusCode closed = CloseStream();
    if (FAILED(closed)) diag::Report(closed, kWriteFailed);
}

StatusCode CaptureFile::Write(const net::SyslogRecord& record) {
    return WriteCaptureLine(file_, record);
}

void CaptureFile::Flush() {
    if (!file_) return;
    PrepareForWrite();
    if (std::fflush(file_) != 0) GiveUp(LastWriteStatus());
}

void CaptureFile::GiveUp(StatusCode failure) {
    diag::Report(failure, kWriteFailed);
    CloseStream();  // what the stream still holds cannot be written either
}

StatusCode CaptureFile::CloseStream() {
    if (!file_) return S_OK;
    PrepareForWrite();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed ? S_OK : LastWriteStatus();
}

}  // namespace records
