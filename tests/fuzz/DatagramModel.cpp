// DatagramModel.cpp: the rules a record and its Capture line follow, stated directly.
#include "tests/fuzz/DatagramModel.h"

#include <windows.h>

#include <algorithm>

namespace fuzz {

const char kFullBufferDiagnostic[] = "Received more than 4096 bytes\n";

namespace {

bool IsCutAtTheEnd(char byte) {
    return byte == '\0' || byte == '\r' || byte == '\n';
}

}  // namespace

std::string ExpectedMessage(const std::string& bytes) {
    if (bytes.empty()) return std::string();
    size_t lastKept = 0;
    for (size_t i = 1; i < bytes.size(); ++i)
        if (!IsCutAtTheEnd(bytes[i])) lastKept = i;
    const std::string kept = bytes.substr(0, lastKept + 1);
    return kept.substr(0, kept.find('\0'));
}

std::string ExpectedReceivedMessage(const std::string& datagram) {
    return ExpectedMessage(datagram.substr(0, kReceiveBufferBytes));
}

std::string ExpectedCellText(const std::string& message) {
    const int length = static_cast<int>(message.size());
    const bool above7F = std::any_of(message.begin(), message.end(), [](char c) { return c & 0x80; });
    const bool utf8 = above7F && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, message.data(), length, nullptr, 0) > 0;
    const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(codePage, 0, message.data(), length, nullptr, 0)), L'\0');
    if (!wide.empty()) MultiByteToWideChar(codePage, 0, message.data(), length, &wide[0], static_cast<int>(wide.size()));
    if (utf8) wide.erase(std::remove(wide.begin(), wide.end(), L'\uFEFF'), wide.end());
    std::replace(wide.begin(), wide.end(), L'\t', L' ');
    const int wideLength = static_cast<int>(wide.size());
    std::string read(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr)), '\0');
    if (!read.empty())
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, &read[0], static_cast<int>(read.size()), nullptr, nullptr);
    return read;
}

std::string DottedQuad(unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
}

std::string ExpectedCaptureBytes(const std::string& sender, const std::string& message) {
    const std::string quote = message.find(',') != std::string::npos ? "\"" : "";
    const std::string line = sender + "," + quote + message + quote + "\n";
    std::string onDisk;
    onDisk.reserve(line.size() + 8);
    for (char byte : line) {
        if (byte == '\n') onDisk += '\r';
        onDisk += byte;
    }
    return onDisk;
}

}  // namespace fuzz
