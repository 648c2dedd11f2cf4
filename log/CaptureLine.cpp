// CaptureLine.cpp: the line format, written straight from the record's texts.
#include "log/CaptureLine.h"

#include <cstdlib>
#include <cstring>

namespace messagelog {

StatusCode LastRuntimeStatus() {
    const StatusCode status = StatusFromError(static_cast<long>(_doserrno));
    // A failure the runtime gave no reason for must still read as a failure.
    return status < 0 ? status : kStatusUnspecifiedFailure;
}

StatusCode WriteCaptureLine(FILE* stream, const net::SyslogRecord& record) {
    const bool quoted = std::strchr(record.message, ',') != nullptr;
    if (std::fputs(record.sender, stream) < 0 || std::fputc(',', stream) < 0) return LastRuntimeStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastRuntimeStatus();
    if (std::fputs(record.message, stream) < 0) return LastRuntimeStatus();
    if (quoted && std::fputc('"', stream) < 0) return LastRuntimeStatus();
    if (std::fputc('\n', stream) < 0) return LastRuntimeStatus();
    return kStatusOk;
}

}  // namespace messagelog
