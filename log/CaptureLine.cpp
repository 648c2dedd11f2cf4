// CaptureLine.cpp: the line format, written straight from the record's texts.
#include "log/CaptureLine.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace messagelog {

StatusCode LastRuntimeStatus() {
    const StatusCode status = StatusFromError(static_cast<long>(_doserrno));
    // A failure the runtime gave no reason for must still read as a failure.
    return status < 0 ? status : kStatusUnspecifiedFailure;
}

// Cleared because for a write taken in part Wine's runtime records the
// thread's last error, which would otherwise be an earlier call's.
void PrepareForWrite() {
    _doserrno = 0;
    SetLastError(ERROR_SUCCESS);
}

// A write that the system took only in part names no system error, and the
// runtime records none (its errno says ENOSPC or nothing under Microsoft's
// runtime, EINVAL under Wine's): the device had no room for the rest.
StatusCode LastWriteStatus() {
    const long error = static_cast<long>(_doserrno);
    return StatusFromError(error > 0 ? error : static_cast<long>(ERROR_DISK_FULL));
}

StatusCode WriteCaptureLine(FILE* stream, const net::SyslogRecord& record) {
    PrepareForWrite();
    const bool quoted = CaptureLineQuotes(record.message);
    if (std::fputs(record.sender, stream) < 0 || std::fputc(',', stream) < 0) return LastWriteStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastWriteStatus();
    if (std::fputs(record.message, stream) < 0) return LastWriteStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastWriteStatus();
    if (std::fputc('\n', stream) < 0) return LastWriteStatus();
    return kStatusOk;
}

bool CaptureLineQuotes(const char* message) {
    return std::strchr(message, ',') != nullptr;
}

void AppendCaptureLine(std::string& out, const char* sender, const char* message) {
    const bool quoted = CaptureLineQuotes(message);
    out += sender;
    out += ',';
    if (quoted) out += '"';
    // A text-mode file turns each line feed into CR LF.
    for (const char* piece = message; *piece;) {
        const char* lineFeed = std::strchr(piece, '\n');
        if (!lineFeed) {
            out += piece;
            break;
        }
        out.append(piece, static_cast<size_t>(lineFeed - piece));
        out += "\r\n";
        piece = lineFeed + 1;
    }
    if (quoted) out += '"';
    out += "\r\n";
}

}  // namespace messagelog
