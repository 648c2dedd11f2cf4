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

// The one encoder of a Capture line: its pieces in order, each handed to add
// as (bytes, count) until add answers false.
template <typename Add>
bool EncodeCaptureLine(std::uint32_t senderAddress, const char* message, size_t messageLength, Add&& add) {
    char sender[net::kDottedQuadCapacity];
    const size_t senderLength = net::FormatDottedQuad(senderAddress, sender);
    const bool quoted = CaptureLineQuotes(message);
    return add(sender, senderLength) && add(",", 1) && (!quoted || add("\"", 1)) && add(message, messageLength) &&
           (!quoted || add("\"", 1)) && add("\n", 1);
}

StatusCode WriteLine(FILE* stream, std::uint32_t senderAddress, const char* message, size_t messageLength) {
    PrepareForWrite();
    LinePieces line(stream);
    const bool written =
        EncodeCaptureLine(senderAddress, message, messageLength,
                          [&line](const char* bytes, size_t count) { return line.Add(bytes, count); }) &&
        line.Flush();
    return written ? S_OK : LastWriteStatus();
}

}  // namespace

StatusCode WriteCaptureLine(FILE* stream, const net::SyslogRecord& record) {
    return WriteLine(stream, record.senderAddress, record.message, std::strlen(record.message));
}

StatusCode WriteCaptureLine(FILE* stream, const StoredRow& row) {
    return WriteLine(stream, row.senderAddress, row.message, row.messageLength);
}

StatusCode WriteAllRows(const ShownRows& rows, FILE* stream, size_t count) {
    const size_t written = count < rows.Count() ? count : rows.Count();
    for (size_t index = 0; index < written; ++index) {
        const StatusCode written = WriteCaptureLine(stream, rows.Row(index));
        if (FAILED(written)) return written;
    }
    return S_OK;
}

bool CaptureLineQuotes(const char* message) {
    return std::strchr(message, ',') != nullptr;
}

// A text-mode file turns each line feed into CR LF.
void AppendCaptureLine(std::string& out, const StoredRow& row) {
    EncodeCaptureLine(row.senderAddress, row.message, row.messageLength, [&out](const char* bytes, size_t count) {
        while (const char* lineFeed = static_cast<const char*>(std::memchr(bytes, '\n', count))) {
            out.append(bytes, static_cast<size_t>(lineFeed - bytes));
            out += "\r\n";
            count -= static_cast<size_t>(lineFeed - bytes) + 1;
            bytes = lineFeed + 1;
        }
        out.append(bytes, count);
        return true;
    });
}

}  // namespace records
