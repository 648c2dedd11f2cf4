// ShownCells.cpp: each column's text written straight into the list's buffer.
#include "records/ShownCells.h"

#include <windows.h>

#include <cstdio>

#include "net/DottedQuad.h"
#include "records/ArrivalTime.h"
#include "records/ShownText.h"
#include "records/SyslogPriority.h"

namespace records {

namespace {

constexpr size_t kReceivedCapacity = sizeof "2026-12-08 05:37:27.123";

// ASCII as it is, cut to the room.
size_t WriteAscii(const char* text, size_t length, wchar_t* out, size_t capacity) {
    if (capacity == 0) return 0;
    const size_t written = length < capacity - 1 ? length : capacity - 1;
    for (size_t i = 0; i < written; ++i) out[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    out[written] = L'\0';
    return written;
}

size_t WriteAscii(const char* text, wchar_t* out, size_t capacity) {
    size_t length = 0;
    while (text[length]) ++length;
    return WriteAscii(text, length, out, capacity);
}

// The local time of arrival to the millisecond, the date before it when it is not today's.
size_t WriteReceived(std::uint64_t receivedAt, wchar_t* out, size_t capacity) {
    SYSTEMTIME at;
    if (!LocalArrival(receivedAt, at)) return WriteAscii("", out, capacity);
    SYSTEMTIME today;
    GetLocalTime(&today);
    char text[kReceivedCapacity];
    if (at.wYear == today.wYear && at.wMonth == today.wMonth && at.wDay == today.wDay)
        std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", at.wHour, at.wMinute, at.wSecond, at.wMilliseconds);
    else
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", at.wYear, at.wMonth, at.wDay, at.wHour,
                      at.wMinute, at.wSecond, at.wMilliseconds);
    return WriteAscii(text, out, capacity);
}

}  // namespace

void ShownCells::Read(const ShownRows& rows, size_t row) {
    const size_t held = rows.StoreIndex(row);
    const std::uint64_t number = rows.Store().FirstNumber() + held;
    if (known_ && number == number_) return;
    known_ = true;
    number_ = number;
    stored_ = rows.Store().Row(held);
    utf8Known_ = false;
    headerRead_ = false;
}

bool ShownCells::Utf8() {
    if (!utf8Known_) utf8_ = IsShownAsUtf8(stored_.message, stored_.messageLength);
    utf8Known_ = true;
    return utf8_;
}

const SyslogHeader& ShownCells::Header() {
    if (!headerRead_) header_ = ReadSyslogHeader(stored_.message, stored_.messageLength);
    headerRead_ = true;
    return header_;
}

size_t ShownCells::WriteField(const FieldSpan& field, wchar_t* out, size_t capacity) {
    return WriteShownPart(stored_.message + field.offset, field.length, Utf8(), out, capacity);
}

size_t ShownCells::Write(const ShownRows& rows, size_t row, settings::ListColumn column, wchar_t* out,
                         size_t capacity) {
    using settings::ListColumn;
    Read(rows, row);
    switch (column) {
    case ListColumn::From: {
        char sender[net::kDottedQuadCapacity];
        const size_t length = net::FormatDottedQuad(stored_.senderAddress, sender);
        return WriteAscii(sender, length, out, capacity);
    }
    case ListColumn::Details:
        return WriteShownPart(stored_.message, stored_.messageLength, Utf8(), out, capacity);
    case ListColumn::Received:
        return WriteReceived(stored_.receivedAt, out, capacity);
    case ListColumn::Time:
        return WriteField(Header().time, out, capacity);
    case ListColumn::Host:
        return WriteField(Header().host, out, capacity);
    case ListColumn::Facility:
        return WriteAscii(Header().priority == kNoPriority ? "" : FacilityName(FacilityOf(Header().priority)), out,
                          capacity);
    case ListColumn::Severity:
        return WriteAscii(Header().priority == kNoPriority ? "" : SeverityName(SeverityOf(Header().priority)), out,
                          capacity);
    case ListColumn::App:
        return WriteField(Header().app, out, capacity);
    case ListColumn::Pid:
        return WriteField(Header().pid, out, capacity);
    case ListColumn::MsgId:
        return WriteField(Header().msgId, out, capacity);
    case ListColumn::Message:
        return WriteField(Header().message, out, capacity);
    }
    return WriteAscii("", out, capacity);
}

}  // namespace records
