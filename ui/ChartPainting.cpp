// ChartPainting.cpp: a scale that rounds up to 1, 2 or 5 of a power of ten, ticks at round times, one brush a class.
#include "ui/ChartPainting.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "list/RowDrawing.h"
#include "win/Dpi.h"
#include "win/GdiObject.h"
#include "win/LocaleNumber.h"

namespace ui {

namespace {

using records::SeverityClass;

// Margins around the bars at 96 DPI: the scale on the left, the legend above, the times below.
constexpr int kLeftMargin = 60;
constexpr int kRightMargin = 14;
constexpr int kTopMargin = 26;
constexpr int kBottomMargin = 22;
constexpr int kTickLength = 4;
constexpr int kLegendSwatch = 10;
constexpr int kLegendGap = 6;
constexpr int kLabelGap = 4;

constexpr COLORREF kOtherColour = RGB(96, 125, 139);
constexpr COLORREF kNoPriorityColour = RGB(176, 176, 176);
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(48, 48, 48);
constexpr COLORREF kGrid = RGB(226, 226, 226);
constexpr COLORREF kAxis = RGB(128, 128, 128);

constexpr size_t kTimeCapacity = 40;
const wchar_t kScaleCaption[] = L"messages per second";
constexpr int kMostDecimals = 3;

// A time label every so many seconds, for each span.
std::uint64_t TickSeconds(records::TrafficSpan span) {
    switch (span) {
    case records::TrafficSpan::Hour:
        return 600;
    case records::TrafficSpan::Day:
        return 4 * 3600;
    default:
        return 120;
    }
}

// The smallest 1, 2 or 5 times a power of ten at or above the rate; 1 for none.
double NiceTop(double rate) {
    if (rate <= 0) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rate)));
    for (const double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= rate * (1 - 1e-12)) return step * power;
    return 10 * power;
}

// The fewest decimals that write the value exactly (at most three).
int DecimalsOf(double value) {
    for (int decimals = 0; decimals < kMostDecimals; ++decimals) {
        const double scaled = value * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-9) return decimals;
    }
    return kMostDecimals;
}

// The second as the user's clock shows it, with or without its seconds.
void FormatLocalTime(std::uint64_t second, bool withSeconds, wchar_t (&text)[kTimeCapacity]) {
    const std::uint64_t ticks = second * records::kFileTimePerSecond;
    const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utcTime{};
    SYSTEMTIME local{};
    text[0] = L'\0';
    if (!FileTimeToSystemTime(&utc, &utcTime) || !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &local)) return;
    if (!GetTimeFormatW(LOCALE_USER_DEFAULT, withSeconds ? 0 : TIME_NOSECONDS, &local, nullptr, text,
                        static_cast<int>(kTimeCapacity)))
        text[0] = L'\0';
}

std::uint64_t BinStart(const ChartData& data, size_t bar) {
    const std::uint64_t binSeconds = records::ShapeOf(data.span).binSeconds;
    return data.lastBinStart - (data.bins.size() - 1 - bar) * binSeconds;
}

int BarLeft(const RECT& plot, size_t bar, size_t bars) {
    return plot.left + static_cast<int>(static_cast<long long>(plot.right - plot.left) * static_cast<long long>(bar) /
                                        static_cast<long long>(bars));
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Text(HDC dc, const wchar_t* text, RECT place, UINT format) {
    DrawTextW(dc, text, -1, &place, format | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

struct Palette {
    COLORREF background, text, grid, axis;
};

Palette PaletteFor(bool highContrast) {
    if (!highContrast) return {kBackground, kText, kGrid, kAxis};
    return {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_GRAYTEXT),
            GetSysColor(COLOR_WINDOWTEXT)};
}

// The scale: lines at nothing, half the top and the top, each with its rate on the left.
void PaintScale(HDC dc, const RECT& client, const RECT& plot, int dpi, double top, const Palette& palette) {
    const int decimals = DecimalsOf(top / 2);
    const int labelGap = win::ScaleToDpi(kLabelGap, dpi);
    win::GdiObject<HPEN> gridPen(CreatePen(PS_SOLID, 1, palette.grid));
    const win::SelectedObject pen(dc, gridPen.Get());
    for (int step = 0; step <= 2; ++step) {
        const double rate = top * step / 2;
        const int y = plot.bottom - static_cast<int>(std::lround((plot.bottom - plot.top) * step / 2.0));
        if (step > 0) Line(dc, plot.left, y, plot.right, y);
        wchar_t label[win::kGroupedCountCapacity];
        win::FormatGroupedNumber(rate, decimals, label);
        Text(dc, label, {client.left, y - plot.top, plot.left - labelGap, y + plot.top}, DT_RIGHT | DT_VCENTER);
    }
}

// The scale's caption at the top left, and the classes' swatches and names
// right-aligned above the bars, as many as fit beside it.
void PaintLegend(HDC dc, const RECT& client, const RECT& plot, int dpi) {
    const int swatch = win::ScaleToDpi(kLegendSwatch, dpi);
    const int gap = win::ScaleToDpi(kLegendGap, dpi);
    const int captionLeft = client.left + win::ScaleToDpi(kLabelGap, dpi);
    SIZE caption{};
    GetTextExtentPoint32W(dc, kScaleCaption, static_cast<int>(std::wcslen(kScaleCaption)), &caption);
    Text(dc, kScaleCaption, {captionLeft, client.top, captionLeft + caption.cx, plot.top}, DT_LEFT | DT_VCENTER);
    const int leftmost = captionLeft + caption.cx + 2 * gap;
    int right = plot.right;
    for (size_t index = records::kSeverityClasses; index-- > 0;) {
        const auto severity = static_cast<SeverityClass>(index);
        const wchar_t* const name = ClassName(severity);
        SIZE size{};
        GetTextExtentPoint32W(dc, name, static_cast<int>(std::wcslen(name)), &size);
        const int textLeft = right - size.cx;
        const int swatchLeft = textLeft - gap / 2 - swatch;
        if (swatchLeft < leftmost) break;
        Text(dc, name, {textLeft, client.top, right, plot.top}, DT_LEFT | DT_VCENTER);
        const int middle = (client.top + plot.top) / 2;
        const RECT square = {swatchLeft, middle - swatch / 2, swatchLeft + swatch, middle - swatch / 2 + swatch};
        win::GdiObject<HBRUSH> brush(CreateSolidBrush(ClassColour(severity)));
        FillRect(dc, &square, brush.Get());
        right = swatchLeft - gap;
    }
}

// Into the canvas's pixels when it has them, else through FillRect.
class PieceFiller {
public:
    explicit PieceFiller(const Canvas& canvas) : canvas_(canvas) {
        if (canvas_.pixels) GdiFlush();  // what GDI drew before lies in the pixels
    }

    void Fill(RECT piece, size_t severity) {
        const COLORREF colour = ClassColour(static_cast<SeverityClass>(severity));
        if (!canvas_.pixels) {
            if (!brushes_[severity]) brushes_[severity].Reset(CreateSolidBrush(colour));
            FillRect(canvas_.dc, &piece, brushes_[severity].Get());
            return;
        }
        const std::uint32_t pixel = static_cast<std::uint32_t>(GetRValue(colour)) << 16 |
                                    static_cast<std::uint32_t>(GetGValue(colour)) << 8 | GetBValue(colour);
        const LONG left = std::max(piece.left, 0L);
        const LONG right = std::min(piece.right, static_cast<LONG>(canvas_.width));
        for (LONG y = std::max(piece.top, 0L); y < std::min(piece.bottom, static_cast<LONG>(canvas_.height)); ++y) {
            std::uint32_t* const row = canvas_.pixels + static_cast<size_t>(y) * static_cast<size_t>(canvas_.width);
            if (left < right) std::fill(row + left, row + right, pixel);
        }
    }

private:
    const Canvas& canvas_;
    win::GdiObject<HBRUSH> brushes_[records::kSeverityClasses];
};

// Each bar from the bottom up, worst first; each class's top is where its
// count and those below it end, so the pieces add up to the whole bar.
void PaintBars(const Canvas& canvas, const RECT& plot, const ChartData& data, double top) {
    const double binSeconds = static_cast<double>(records::ShapeOf(data.span).binSeconds);
    const double pixelsPerMessage = (plot.bottom - plot.top) / (top * binSeconds);
    const size_t bars = data.bins.size();
    PieceFiller filler(canvas);
    for (size_t bar = 0; bar < bars; ++bar) {
        const records::TrafficBin& bin = data.bins[bar];
        if (bin.Total() == 0) continue;
        const int left = BarLeft(plot, bar, bars);
        const int right = std::max(left + 1, BarLeft(plot, bar + 1, bars));
        std::uint64_t below = 0;
        int bottom = plot.bottom;
        for (size_t index = 0; index < records::kSeverityClasses; ++index) {
            if (bin.counts[index] == 0) continue;
            below += bin.counts[index];
            const int height = static_cast<int>(std::lround(static_cast<double>(below) * pixelsPerMessage));
            const RECT piece = {left, plot.bottom - height, right, bottom};
            filler.Fill(piece, index);
            bottom = piece.top;
        }
    }
}

// The axes, and a tick with the time at each round time of the span.
void PaintTimes(HDC dc, const RECT& client, const RECT& plot, int dpi, const ChartData& data, const Palette& palette) {
    win::GdiObject<HPEN> axisPen(CreatePen(PS_SOLID, 1, palette.axis));
    const win::SelectedObject pen(dc, axisPen.Get());
    Line(dc, plot.left, plot.top, plot.left, plot.bottom);
    Line(dc, plot.left, plot.bottom, plot.right, plot.bottom);
    const size_t bars = data.bins.size();
    if (bars == 0) return;
    const std::uint64_t tick = TickSeconds(data.span);
    const int tickLength = win::ScaleToDpi(kTickLength, dpi);
    const int halfLabel = win::ScaleToDpi(kLeftMargin, dpi) / 2;
    for (size_t bar = 0; bar < bars; ++bar) {
        const std::uint64_t start = BinStart(data, bar);
        if (start % tick != 0) continue;
        const int x = BarLeft(plot, bar, bars);
        Line(dc, x, plot.bottom, x, plot.bottom + tickLength);
        if (x - halfLabel < client.left || x + halfLabel > client.right) continue;
        wchar_t time[kTimeCapacity];
        FormatLocalTime(start, false, time);
        Text(dc, time, {x - halfLabel, plot.bottom + tickLength, x + halfLabel, client.bottom}, DT_CENTER | DT_TOP);
    }
}

}  // namespace

COLORREF ClassColour(SeverityClass severity) {
    list::RowColours colours{};
    switch (severity) {
    case SeverityClass::Critical:
        list::SeverityColours(2, colours);  // 0 to 2 are drawn alike: white on dark red
        return colours.background;
    case SeverityClass::Error:
        list::SeverityColours(3, colours);
        return colours.text;
    case SeverityClass::Warning:
        list::SeverityColours(4, colours);
        return colours.text;
    case SeverityClass::Other:
        return kOtherColour;
    default:
        return kNoPriorityColour;
    }
}

const wchar_t* ClassName(SeverityClass severity) {
    switch (severity) {
    case SeverityClass::Critical:
        return L"Emergency to critical";
    case SeverityClass::Error:
        return L"Error";
    case SeverityClass::Warning:
        return L"Warning";
    case SeverityClass::Other:
        return L"Notice to debug";
    default:
        return L"No priority";
    }
}

RECT PlotArea(const RECT& client, int dpi) {
    RECT plot = {client.left + win::ScaleToDpi(kLeftMargin, dpi), client.top + win::ScaleToDpi(kTopMargin, dpi),
                 client.right - win::ScaleToDpi(kRightMargin, dpi), client.bottom - win::ScaleToDpi(kBottomMargin, dpi)};
    plot.right = std::max(plot.right, plot.left);
    plot.bottom = std::max(plot.bottom, plot.top);
    return plot;
}

int BarAt(const RECT& client, int dpi, size_t bars, POINT point) {
    const RECT plot = PlotArea(client, dpi);
    if (bars == 0 || point.x < plot.left || point.x >= plot.right || point.y < plot.top || point.y > plot.bottom)
        return -1;
    return static_cast<int>(static_cast<long long>(point.x - plot.left) * static_cast<long long>(bars) /
                            (plot.right - plot.left));
}

void PaintChart(const Canvas& canvas, const RECT& client, int dpi, const ChartData& data, bool highContrast) {
    const HDC dc = canvas.dc;
    const Palette palette = PaletteFor(highContrast);
    win::GdiObject<HBRUSH> background(CreateSolidBrush(palette.background));
    FillRect(dc, &client, background.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, palette.text);

    std::uint32_t most = 0;
    for (const records::TrafficBin& bin : data.bins) most = std::max(most, bin.Total());
    const double top = NiceTop(most / static_cast<double>(records::ShapeOf(data.span).binSeconds));
    const RECT plot = PlotArea(client, dpi);
    PaintScale(dc, client, plot, dpi, top, palette);
    PaintLegend(dc, client, plot, dpi);
    PaintBars(canvas, plot, data, top);
    PaintTimes(dc, client, plot, dpi, data, palette);
}

std::wstring BarText(const ChartData& data, size_t bar) {
    if (bar >= data.bins.size()) return std::wstring();
    const records::TrafficBin& bin = data.bins[bar];
    const std::uint64_t binSeconds = records::ShapeOf(data.span).binSeconds;
    const std::uint64_t start = BinStart(data, bar);
    wchar_t first[kTimeCapacity];
    wchar_t last[kTimeCapacity];
    FormatLocalTime(start, true, first);
    std::wstring text = first;
    if (binSeconds > 1) {
        FormatLocalTime(start + binSeconds - 1, true, last);
        text += std::wstring(L" to ") + last;
    }
    wchar_t count[win::kGroupedCountCapacity];
    wchar_t rate[win::kGroupedCountCapacity];
    win::FormatGroupedCount(bin.Total(), count);
    win::FormatGroupedNumber(bin.Total() / static_cast<double>(binSeconds), binSeconds > 1 ? 2 : 0, rate);
    text += std::wstring(L"\r\n") + count + (bin.Total() == 1 ? L" message, " : L" messages, ") + rate + L"/s";
    for (size_t index = 0; index < records::kSeverityClasses; ++index) {
        if (bin.counts[index] == 0) continue;
        win::FormatGroupedCount(bin.counts[index], count);
        text += std::wstring(L"\r\n") + ClassName(static_cast<SeverityClass>(index)) + L": " + count;
    }
    return text;
}

bool HighContrastOn() {
    HIGHCONTRASTW scheme{sizeof scheme, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof scheme, &scheme, 0) && (scheme.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace ui
