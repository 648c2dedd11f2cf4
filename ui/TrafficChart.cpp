// TrafficChart.cpp: a 32-bit DIB as the back buffer, so the bars are filled in process; a tracking tip.
#include "ui/TrafficChart.h"

#include <commctrl.h>
#include <windowsx.h>

#include <new>
#include <utility>

#include "win/Dpi.h"
#include "win/GdiObject.h"

namespace ui {

namespace {

const win::WindowClass kChartClass = {
    "KelvSysLog_traffic_chart", CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr, nullptr, nullptr,
};

constexpr int kTipWidth = 360;      // at 96 DPI; longer lines wrap
constexpr int kTipOffset = 16;      // below and right of the pointer, at 96 DPI
constexpr UINT_PTR kTipToolId = 1;

TTTOOLINFOW ToolInfo(HWND chart) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = chart;
    tool.uId = kTipToolId;
    return tool;
}

}  // namespace

bool TrafficChart::Create(HWND parent, int id) {
    win::WindowClass chartClass = kChartClass;
    chartClass.cursor = LoadCursor(nullptr, IDC_ARROW);
    if (!win::Window::Create(chartClass, {parent, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, 0,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))}))
        return false;
    CreateTip();
    return true;
}

void TrafficChart::CreateTip() {
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                           win::ModuleInstance(), nullptr);
    if (!tip_) return;  // the chart goes on without one
    TTTOOLINFOW tool = ToolInfo(Handle());
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, win::ScaleToDpi(kTipWidth, win::WindowDpi(Handle())));
}

void TrafficChart::Show(ChartData data) {
    data_ = std::move(data);
    if (hovered_ >= 0) TellBar();  // the bar under the pointer stands for another time now
    InvalidateRect(Handle(), nullptr, FALSE);
}

bool TrafficChart::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(Handle(), &paint);
        Paint(dc);
        EndPaint(Handle(), &paint);
        return true;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return true;
    case WM_ERASEBKGND:
        result = 1;  // the buffer covers every pixel
        return true;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (tip_) SendMessageW(tip_, WM_SETFONT, wParam, 0);
        if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, FALSE);
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return true;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        hovered_ = -1;
        TellBar();
        return true;
    case WM_DESTROY:
        if (tip_) DestroyWindow(tip_);
        tip_ = nullptr;
        return false;
    default:
        return false;
    }
}

// Without memory for the buffer the chart is painted straight into the target.
void TrafficChart::Paint(HDC target) {
    RECT client;
    GetClientRect(Handle(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    const int dpi = win::WindowDpi(Handle());
    const bool highContrast = HighContrastOn();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win::GdiObject<HBITMAP> buffer(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win::MemoryDc memory(target);
    if (!buffer || !memory.Get()) {
        const win::SelectedObject font(target, font_);
        PaintChart({target}, client, dpi, data_, highContrast);
        return;
    }
    {
        const win::SelectedObject bitmap(memory.Get(), buffer.Get());
        const win::SelectedObject font(memory.Get(), font_);
        PaintChart({memory.Get(), static_cast<std::uint32_t*>(bits), width, height}, client, dpi, data_, highContrast);
        BitBlt(target, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
    }
}

void TrafficChart::OnMouseMove(POINT point) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, Handle(), 0};
        trackingLeave_ = TrackMouseEvent(&leave) != FALSE;
    }
    RECT client;
    GetClientRect(Handle(), &client);
    const int dpi = win::WindowDpi(Handle());
    const int bar = BarAt(client, dpi, data_.bins.size(), point);
    if (bar != hovered_) {
        hovered_ = bar;
        TellBar();
    }
    if (hovered_ < 0 || !tip_) return;
    POINT at = {point.x + win::ScaleToDpi(kTipOffset, dpi), point.y + win::ScaleToDpi(kTipOffset, dpi)};
    ClientToScreen(Handle(), &at);
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
}

// The tip shows the hovered bar's text, or goes.
void TrafficChart::TellBar() {
    if (!tip_) return;
    TTTOOLINFOW tool = ToolInfo(Handle());
    if (hovered_ < 0) {
        SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    try {
        tipText_ = BarText(data_, static_cast<size_t>(hovered_));
    } catch (const std::bad_alloc&) {
        tipText_.clear();
    }
    tool.lpszText = const_cast<wchar_t*>(tipText_.c_str());
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace ui
