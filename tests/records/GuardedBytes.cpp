// GuardedBytes.cpp: the readable pages and the guard page come from one reservation.
#include "tests/records/GuardedBytes.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace guarded {

GuardedBytes::GuardedBytes(const std::string& bytes) : length_(bytes.size()) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    const size_t readable = (length_ + page - 1) / page * page;
    reserved_ = VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD was = 0;
    if (!reserved_ || !VirtualProtect(static_cast<char*>(reserved_) + readable, page, PAGE_NOACCESS, &was))
        throw std::bad_alloc();
    char* const start = static_cast<char*>(reserved_) + readable - length_;
    if (length_) std::memcpy(start, bytes.data(), length_);
    data_ = start;
}

GuardedBytes::~GuardedBytes() {
    VirtualFree(reserved_, 0, MEM_RELEASE);
}

}  // namespace guarded
