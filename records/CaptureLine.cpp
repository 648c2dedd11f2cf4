// CaptureLine.cpp: the line format, written straight from the record's texts.
#include "records/CaptureLine.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "net/DottedQuad.h"

namespace records {

StatusCode LastRuntimeStatus() {
    const StatusCode status = StatusFromError(static_cast<long>(_doserrno));
    // A failure the runtime gave no reason for must still read as a failure.
    return FAILED(status) ? status : E_FAIL;
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

namespace {

// Gathers a line's pieces, so that the stream is called once per line rather
// than once per piece: a million lines take a third of the time under Wine.
class LinePieces {
public:
    explicit LinePieces(FILE* stream) : stream_(stream) {}

    bool Add(const char* bytes, size_t count) {
        while (count > 0) {
            if (used_ == sizeof buffer_ && !Flush()) return false;
            const size_t taken = count < sizeof buffer_ - used_ ? count : sizeof buffer_ - used_;
            std::memcpy(buffer_ + used_, bytes, taken);
            used_ += taken;
            bytes += taken;
            count -= taken;
        }
        return true;
    }
    bool Add(char byte) { return Add(&byte, 1); }

    bool Flush() {
        const bool written = std::fwrite(buffer_, 1, used_, stream_) == used_;
        used_ = 0;
        return written;
    }

private:
    FILE* const stream_;
    char buffer_[512];
    size_t used_ = 0;
};

StatusCode WriteLine(FILE* stream, const char* sender, size_t senderLength, const char* message,
                     size_t messageLength) {
    PrepareForWrite();
    const bool quoted = CaptureLineQuotes(message);
    LinePieces line(stream);
    const bool written = line.Add(sender, senderLength) && line.Add(',') && (!quoted || line.Add('"')) &&
                         line.Add(message, messageLength) && (!quoted || line.Add('"')) && line.Add('\n') &&
                         line.Flush();
    return written ? S_OK : LastWriteStatus();
}

}  // namespace

StatusCode WriteCaptureLine(FILE* stream, const net::SyslogRecord& record) {
    return WriteLine(stream, record.sender, std::strlen(record.sender), record.message, std::strlen(record.message));
}

StatusCode WriteCaptureLine(FILE* stream, const StoredRow& row) {
    char sender[net::kDottedQuadCapacity];
    const size_t senderLength = net::FormatDottedQuad(row.senderAddress, sender);
    return WriteLine(stream, sender, senderLength, row.message, row.messageLength);
}

StatusCode WriteAllRows(const RecordStore& rows, FILE* stream) {
    const size_t count = rows.Count();
    for (size_t index = 0; index < count; ++index) {
        const StatusCode written = WriteCaptureLine(stream, rows.Row(index));
        if (FAILED(written)) return written;
    }
    return S_OK;
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

}  // namespace records
