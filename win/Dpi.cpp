// Dpi.cpp: the per-window calls are looked up at run time, since Windows before 10 lacks them;
// there the process is aware of the system DPI only, which the older calls give.
#include "win/Dpi.h"

namespace win {

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);

// A function of user32.dll, or null when this Windows has none by that name.
template <typename Call>
Call User32Function(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}

int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : SystemDpi();
}

int ScaleToDpi(int pixels, int dpi) {
    return MulDiv(pixels, dpi, kDesignDpi);
}

int SystemMetricAtDpi(int index, int dpi) {
    static const auto getSystemMetricsForDpi = User32Function<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    return getSystemMetricsForDpi ? getSystemMetricsForDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

}  // namespace win
