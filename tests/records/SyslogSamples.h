// SyslogSamples.h: the sample syslog lines and the fields expected of them, read from their file.
#pragma once

#include <string>
#include <vector>

namespace syslog_samples {

// One line of the file: the datagram (escapes undone) and the expected
// fields as the file writes them.
struct Sample {
    int line;
    std::string datagram;
    std::string facility, severity, time, host, app, pid, msgId, message;
};

// The samples of the file that SYSLOG_SAMPLES names (ctest sets it); empty
// with a reason in problem when the file cannot be read or a line is malformed.
std::vector<Sample> Read(std::string& problem);

}  // namespace syslog_samples
