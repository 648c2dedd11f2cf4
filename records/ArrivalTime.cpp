// ArrivalTime.cpp: the time zone's rules of the arrival's own date, summer time included.
#include "records/ArrivalTime.h"

namespace records {

bool LocalArrival(std::uint64_t receivedAt, SYSTEMTIME& local) {
    const FILETIME utc{static_cast<DWORD>(receivedAt), static_cast<DWORD>(receivedAt >> 32)};
    SYSTEMTIME universal;
    return FileTimeToSystemTime(&utc, &universal) && SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
}

}  // namespace records
