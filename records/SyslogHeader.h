// SyslogHeader.h: the fields a syslog message's header holds, found in place without copying a byte.
#pragma once

#include <cstddef>

#include "records/SyslogPriority.h"

namespace records {

// Where a field lies in its message; a field not found has length 0.
struct FieldSpan {
    size_t offset = 0;
    size_t length = 0;
};

// The header of one message. Only what the message really holds is a field:
// what could not be read stays in the message span, which without a valid
// priority is the whole message.
struct SyslogHeader {
    int priority = kNoPriority;  // FacilityOf and SeverityOf give its parts
    FieldSpan time;              // as written: "Dec  8 10:01:02", "2026-12-08T10:01:02.123+01:00"
    FieldSpan host;
    FieldSpan app;  // the tag before ':' or "[pid]:", or the RFC 5424 APP-NAME
    FieldSpan pid;
    FieldSpan msgId;
    FieldSpan message;  // what follows the header; a UTF-8 BOM before it is left out
};

// Reads the header of a message of length bytes: the RFC 5424 form, the
// traditional forms devices send ("Mmm dd [yyyy] hh:mm:ss[.fff]" or an ISO
// time, an optional host, a tag with or without "[pid]", a leading sequence
// number and a '*' or '.' before the time), or none. Reads no byte past the
// last; allocates nothing.
SyslogHeader ReadSyslogHeader(const char* message, size_t length);

}  // namespace records
