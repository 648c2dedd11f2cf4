// SyslogRecord.cpp: making and releasing records.
#include "net/SyslogRecord.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace net {

namespace {

std::atomic<long> g_recordsAlive{0};

// Cuts trailing CR and LF at indexes count down to 1; zero bytes are passed over.
void TrimLineEnd(char* text, size_t count) {
    for (size_t i = count; i >= 1; --i) {
        if (text[i] == '\0') continue;
        if (text[i] != '\n' && text[i] != '\r') break;
        text[i] = '\0';
    }
}

}  // namespace

void RecordReleaser::operator()(SyslogRecord* record) const {
    std::free(record->message);
    std::free(record);
    --g_recordsAlive;
}

size_t RecordBytes(const SyslogRecord& record) {
    return sizeof record + std::strlen(record.message) + 1;
}

long SyslogRecordsAlive() {
    return g_recordsAlive.load();
}

RecordPtr MakeSyslogRecord(const char* bytes, size_t count, const sockaddr_in& sender) {
    char* message = static_cast<char*>(std::malloc(count + 1));
    if (!message) return nullptr;
    if (count) std::memcpy(message, bytes, count);
    message[count] = '\0';
    TrimLineEnd(message, count);

    auto* record = static_cast<SyslogRecord*>(std::malloc(sizeof(SyslogRecord)));
    if (!record) {
        std::free(message);
        return nullptr;
    }
    record->message = message;
    record->senderAddress = sender.sin_addr.s_addr;
    record->receivedAt = FileTimeNow();
    ++g_recordsAlive;
    return RecordPtr(record);
}

std::uint64_t FileTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

}  // namespace net
