// Dpi.h: sizes laid out in pixels, scaled to the dots per inch of the window they are for.
#pragma once

#include <windows.h>

namespace win {

// The size that all pixel sizes of the program are given for.
constexpr int kDesignDpi = 96;

// The window's DPI; where the system cannot tell it per window, the system's own.
int WindowDpi(HWND window);

// Pixels given at 96 DPI, at the DPI given: unchanged at 96.
int ScaleToDpi(int pixels, int dpi);

// A system metric as it is at the DPI given.
int SystemMetricAtDpi(int index, int dpi);

}  // namespace win
