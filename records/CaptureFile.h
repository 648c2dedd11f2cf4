// CaptureFile.h: the file every captured record is appended to, while it is open.
#pragma once

#include <cstdio>

#include "diag/StatusCode.h"
#include "net/SyslogRecord.h"

namespace settings {
struct Settings;
}

namespace records {

class CaptureFile {
public:
    CaptureFile() = default;
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    ~CaptureFile() { CloseStream(); }

    // Opens FileName for appending, others denied writing, when ToFile asks
    // for it; a failure is reported and leaves the file closed.
    void OpenIfWanted(const settings::Settings& settings);

    // Closes the file if open; its buffered lines are written out first, and
    // a failure to do so is reported.
    void Close();

    bool IsOpen() const { return file_ != nullptr; }

    // Appends the record's line to the stream's buffer; a negative status on failure.
    StatusCode Write(const net::SyslogRecord& record);

    // Hands the buffered lines to the system, so a crash or a kill loses none
    // of them; a failure is reported and closes the file.
    void Flush();

    // After a failed write: the failure is reported and the file closed.
    void GiveUp(StatusCode failure);

private:
    StatusCode CloseStream();

    FILE* file_ = nullptr;
};

}  // namespace records
