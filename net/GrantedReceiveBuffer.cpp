// GrantedReceiveBuffer.cpp: SO_RCVBUF, corrected by the Linux kernel's cap under Wine.
#include "net/GrantedReceiveBuffer.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace net {

namespace {

const wchar_t kLinuxBufferCap[] = L"\\\\?\\unix\\proc\\sys\\net\\core\\rmem_max";
constexpr int kLinuxGrantFactor = 2;  // Linux doubles what it grants, for its own bookkeeping

bool RunsUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The kernel's cap in bytes, or 0 when it cannot be read.
long LinuxBufferCap() {
    const HANDLE file = CreateFileW(kLinuxBufferCap, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char digits[24] = {};
    DWORD got = 0;
    const BOOL read = ReadFile(file, digits, sizeof digits - 1, &got, nullptr);
    CloseHandle(file);
    return read ? std::strtol(digits, nullptr, 10) : 0;
}

}  // namespace

int GrantedReceiveBuffer(SOCKET socket) {
    int granted = 0;
    int length = sizeof granted;
    if (getsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &length) == SOCKET_ERROR)
        return 0;
    if (!RunsUnderWine()) return granted;
    const long cap = LinuxBufferCap();
    if (cap <= 0) return granted;
    return static_cast<int>(std::min<long long>(granted, static_cast<long long>(cap) * kLinuxGrantFactor));
}

}  // namespace net
