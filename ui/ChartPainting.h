// ChartPainting.h: the traffic chart drawn with GDI: stacked bars by severity, the scale in messages per second,
// the times, and the text of one bar.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "records/TrafficHistory.h"

namespace ui {

// What the chart draws: the span's bins, oldest first, the last one holding now.
struct ChartData {
    records::TrafficSpan span = records::TrafficSpan::TenMinutes;
    std::vector<records::TrafficBin> bins;
    std::uint64_t lastBinStart = 0;  // the newest bin's first second, counted as FILETIMEs count (UTC, from 1601)
};

// The colour a severity class is stacked in: the list's own for emergency
// to critical (its background), error and warning (their texts), and two of
// the chart's own for the rest and for messages without a priority.
COLORREF ClassColour(records::SeverityClass severity);

// The class's name in the legend and the bar's text.
const wchar_t* ClassName(records::SeverityClass severity);

// Where the bars stand inside the chart's client area, the scale on the left,
// the legend above and the times below.
RECT PlotArea(const RECT& client, int dpi);

// The bar under the point, or -1.
int BarAt(const RECT& client, int dpi, size_t bars, POINT point);

// A device context to paint into and, when it holds a 32-bit top-down DIB
// section at its origin, that section's pixels: the bars are written into
// them straight, since a GDI call for each bar's piece would cost more than
// everything else painted.
struct Canvas {
    HDC dc;
    std::uint32_t* pixels = nullptr;  // rows of width pixels, the top row first; null: GDI alone
    int width = 0;
    int height = 0;
};

// Everything, background first, in the font selected into the context. In
// high contrast the background, the text and the axes take the system's
// colours; the bars keep theirs.
void PaintChart(const Canvas& canvas, const RECT& client, int dpi, const ChartData& data, bool highContrast);

// The bar's time (its first and last second for a bin of several), its
// messages and their rate, and each class that has some, one to a line.
std::wstring BarText(const ChartData& data, size_t bar);

// Whether the system's high-contrast scheme is on.
bool HighContrastOn();

}  // namespace ui
