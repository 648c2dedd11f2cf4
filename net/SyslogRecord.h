// SyslogRecord.h: one received datagram, as the rest of the program sees it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace net {

// The owned, zero-terminated 8-bit message and the sender's address, in two
// allocations. The sender's text is formatted where it is shown or written
// (net::FormatDottedQuad), never kept.
struct SyslogRecord {
    char* message;                // the datagram's bytes, less trailing CR, LF and NUL
    std::uint32_t senderAddress;  // the sender's IPv4 address as in in_addr::s_addr
    std::uint64_t receivedAt;     // when it was made, as a FILETIME: UTC, 100 ns since 1601
};

// Releases the message text, then the record.
struct RecordReleaser {
    void operator()(SyslogRecord* record) const;
};
using RecordPtr = std::unique_ptr<SyslogRecord, RecordReleaser>;

// Copies count bytes and cuts trailing line breaks and zero bytes (byte 0 is
// never examined), and stamps the record with the time. Null when memory runs out.
RecordPtr MakeSyslogRecord(const char* bytes, size_t count, const sockaddr_in& sender);

// The time now as a record is stamped with it: a FILETIME, UTC, 100 ns since 1601.
std::uint64_t FileTimeNow();

// The bytes the record holds in memory, texts included, as the hand-off to the UI counts them.
size_t RecordBytes(const SyslogRecord& record);

// How many records exist right now, for checking that each is released once.
long SyslogRecordsAlive();

}  // namespace net
