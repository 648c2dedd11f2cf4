// StatusCode.h: results as HRESULTs: S_OK, failures negative (E_FAIL, E_OUTOFMEMORY, ...).
#pragma once

#include <windows.h>

#include <cstdint>

using StatusCode = HRESULT;

// An operating-system, sockets or runtime error number as a status code, as
// HRESULT_FROM_WIN32 makes it: e > 0 gives 0x80070000 | (e & 0xFFFF), any
// other e is taken unchanged.
constexpr StatusCode StatusFromError(long error) {
    return error > 0 ? static_cast<StatusCode>(0x80070000u | (static_cast<uint32_t>(error) & 0xFFFFu))
                     : static_cast<StatusCode>(error);
}
