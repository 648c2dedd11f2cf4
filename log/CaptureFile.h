// CaptureFile.h: the file every captured record is appended to, while it is open.
#pragma once

#include <cstdio>

#include "diag/StatusCode.h"
#include "net/SyslogRecord.h"

namespace settings {
class Settings;
}

namespace messagelog {

class CaptureFile {
public:
    CaptureFile() = default;
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;
    ~CaptureFile() { Close(); }

    // Opens FileName for appending, others denied writing, when ToFile asks
    // for it; a failure is reported and leaves the file closed.
    void OpenIfWanted(const settings::Settings& settings);

    // Closes the file if open; buffered lines are written out.
    void Close();

    bool IsOpen() const { return file_ != nullptr; }

    // Appends the record's line; a negative status on failure.
    StatusCode Write(const net::SyslogRecord& record);

private:
    FILE* file_ = nullptr;
};

}  // namespace messagelog
