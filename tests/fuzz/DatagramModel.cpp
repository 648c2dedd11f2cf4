// DatagramModel.cpp: the rules a record and its Capture line follow, stated directly.
#include "tests/fuzz/DatagramModel.h"

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
