// ArrivalTime.h: the moment a row arrived, in the user's local time.
#pragma once

#include <windows.h>

#include <cstdint>

namespace records {

// receivedAt as a row keeps it (a FILETIME: UTC, 100 ns since 1601) in the
// local time of its date; false when the system cannot convert it.
bool LocalArrival(std::uint64_t receivedAt, SYSTEMTIME& local);

}  // namespace records
