// StatusCode.h: results in the manner of an HRESULT.
#pragma once

#include <cstdint>

// 0 is success, negative values are failures.
using StatusCode = int32_t;

constexpr StatusCode kStatusOk = 0;
constexpr StatusCode kStatusOutOfMemory = static_cast<StatusCode>(0x8007000E);
constexpr StatusCode kStatusUnspecifiedFailure = static_cast<StatusCode>(0x80004005);  // E_FAIL

// An operating-system, sockets or runtime error number as a status code.
constexpr StatusCode StatusFromError(long error) {
    return error > 0 ? static_cast<StatusCode>(0x80070000u | (static_cast<uint32_t>(error) & 0xFFFFu))
                     : static_cast<StatusCode>(error);
}
