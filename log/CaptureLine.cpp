// CaptureLine.cpp: the line format, written straight from the record's texts.
#include "log/CaptureLine.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "net/DottedQuad.h"

namespace messagelog {

StatusCode LastRuntimeStatus() {
    const StatusCode status = StatusFromError(static_cast<long>(_doserrno));
    // A failure the runtime gave no reason for must still read as a failure.
    return status < 0 ? status : kStatusUnspecifiedFailure;
}

namespace {

// A write that the system took only in part names no system error, and the
// runtime records none (its errno says ENOSPC or nothing under Microsoft's
// runtime, EINVAL under Wine's): the device had no room for the rest.
StatusCode LastWriteStatus() {
    const long error = static_cast<long>(_doserrno);
    return StatusFromError(error > 0 ? error : static_cast<long>(ERROR_DISK_FULL));
}

// The line from its two zero-terminated texts.
StatusCode WriteLine(FILE* stream, const char* sender, const char* message) {
    // Cleared first: for a write taken in part Wine's runtime records the
    // thread's last error, which would otherwise be an earlier call's.
    _doserrno = 0;
    SetLastError(ERROR_SUCCESS);
    const bool quoted = std::strchr(message, ',') != nullptr;
    if (std::fputs(sender, stream) < 0 || std::fputc(',', stream) < 0) return LastWriteStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastWriteStatus();
    if (std::fputs(message, stream) < 0) return LastWriteStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastWriteStatus();
    if (std::fputc('\n', stream) < 0) return LastWriteStatus();
    return kStatusOk;
}

}  // namespace

StatusCode WriteCaptureLine(FILE* stream, const net::SyslogRecord& record) {
    return WriteLine(stream, record.sender, record.message);
}

StatusCode WriteCaptureLine(FILE* stream, const StoredRow& row) {
    char sender[net::kDottedQuadCapacity];
    net::FormatDottedQuad(row.senderAddress, sender);
    return WriteLine(stream, sender, row.message);
}

}  // namespace messagelog
