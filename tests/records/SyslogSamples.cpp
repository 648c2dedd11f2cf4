// SyslogSamples.cpp: a line is nine tab-separated fields; '#' starts a comment line.
#include "tests/records/SyslogSamples.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace syslog_samples {

namespace {

constexpr size_t kFields = 9;

// Under Wine a Linux path is reached through drive Z:.
std::string WindowsPath(const char* path) {
    return path[0] == '/' ? std::string("Z:") + path : std::string(path);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// \xHH is the byte HH and \\ one backslash; false for any other escape.
bool Unescape(const std::string& text, std::string& bytes) {
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            bytes += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '\\') {
            bytes += '\\';
            ++at;
        } else if (at + 3 < text.size() && text[at + 1] == 'x' && HexDigit(text[at + 2]) >= 0 &&
                   HexDigit(text[at + 3]) >= 0) {
            bytes += static_cast<char>(HexDigit(text[at + 2]) * 16 + HexDigit(text[at + 3]));
            at += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<Sample> Read(std::string& problem) {
    const char* const path = std::getenv("SYSLOG_SAMPLES");
    if (!path) {
        problem = "SYSLOG_SAMPLES is not set";
        return {};
    }
    std::ifstream file(WindowsPath(path), std::ios::binary);
    if (!file) {
        problem = std::string("cannot open ") + WindowsPath(path);
        return {};
    }
    std::vector<Sample> samples;
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();  // a checkout with Windows line ends
        if (text.empty() || text[0] == '#') continue;
        std::vector<std::string> fields;
        std::istringstream split(text);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        if (!text.empty() && text.back() == '\t') fields.emplace_back();
        Sample sample{line, {}, {}, {}, {}, {}, {}, {}, {}, {}};
        if (fields.size() != kFields || !Unescape(fields[0], sample.datagram)) {
            problem = "line " + std::to_string(line) + " is malformed";
            return {};
        }
        sample.facility = fields[1];
        sample.severity = fields[2];
        sample.time = fields[3];
        sample.host = fields[4];
        sample.app = fields[5];
        sample.pid = fields[6];
        sample.msgId = fields[7];
        sample.message = fields[8];
        samples.push_back(sample);
    }
    return samples;
}

}  // namespace syslog_samples
