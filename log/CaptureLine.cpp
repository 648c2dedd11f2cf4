// CaptureLine.cpp: the line format, written straight from the record's texts.
#include "log/CaptureLine.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace messagelog {

StatusCode LastRuntimeStatus() {
    const StatusCode status = StatusFromError(static_cast<long>(_doserrno));
    // A failure the runtime gave no reason for must still read as a failure.
    return status < 0 ? status : kStatusUnspecifiedFailure;
}

namespace {

// A write the system took only in part names no system error: the runtime
// then says only that the device is full (errno ENOSPC). A failure that names
// nothing at all must still read as a failure.
StatusCode LastWriteStatus() {
    const long error = static_cast<long>(_doserrno);
    if (error > 0) return StatusFromError(error);
    return errno == ENOSPC ? StatusFromError(ERROR_DISK_FULL) : kStatusUnspecifiedFailure;
}

}  // namespace

StatusCode WriteCaptureLine(FILE* stream, const net::SyslogRecord& record) {
    // Cleared first: a write taken in part would otherwise be reported with
    // whatever error an earlier call left behind.
    _doserrno = 0;
    errno = 0;
    const bool quoted = std::strchr(record.message, ',') != nullptr;
    if (std::fputs(record.sender, stream) < 0 || std::fputc(',', stream) < 0) return LastWriteStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastWriteStatus();
    if (std::fputs(record.message, stream) < 0) return LastWriteStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastWriteStatus();
    if (std::fputc('\n', stream) < 0) return LastWriteStatus();
    return kStatusOk;
}

}  // namespace messagelog
