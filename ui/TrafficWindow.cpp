// TrafficWindow.cpp: the span's choice above the chart, the top lists below it, all laid out for the window's DPI.
#include "ui/TrafficWindow.h"
#include "ui/TrafficWindowClassName.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <utility>

#include "net/DottedQuad.h"
#include "res/resource.h"
#include "win/Dpi.h"

namespace ui {

namespace {

const win::WindowClass kTrafficClass = {
    kTrafficWindowClassName, CS_HREDRAW | CS_VREDRAW, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
    nullptr, nullptr, nullptr, nullptr,
};
const char kTitle[] = "Traffic";

// The spans offered, in the order of the choice.
struct SpanOption {
    const char* label;
    records::TrafficSpan span;
};
constexpr SpanOption kSpans[] = {{"Last 10 minutes", records::TrafficSpan::TenMinutes},
                                 {"Last hour", records::TrafficSpan::Hour},
                                 {"Last day", records::TrafficSpan::Day}};

// The top lists, left to right, in the order of TrafficWindow::Top.
struct TopShape {
    int titleId;
    int listId;
    const char* title;
    const char* nameHeader;
};
constexpr TopShape kTopShapes[] = {
    {IDC_TRAFFIC_SENDERS_TITLE, IDC_TRAFFIC_TOP_SENDERS, "Top senders", "Sender"},
    {IDC_TRAFFIC_HOSTS_TITLE, IDC_TRAFFIC_TOP_HOSTS, "Top hosts", "Host"},
    {IDC_TRAFFIC_APPS_TITLE, IDC_TRAFFIC_TOP_APPS, "Top apps", "App"},
};

// Sizes at 96 DPI.
constexpr int kWidth = 720;
constexpr int kHeight = 560;
constexpr int kLeastWidth = 360;
constexpr int kLeastHeight = 320;
constexpr int kMargin = 8;
constexpr int kSpanWidth = 160;
constexpr int kSpanDropHeight = 120;
constexpr int kFontPoints = 9;
constexpr int kPointsPerInch = 72;
constexpr int kTitleGap = 4;
// The chart's share of the height below the span's choice; the top lists take the rest.
constexpr int kChartShare = 60;

// Moved (and shrunk if need be) onto the work area of the screen nearest to it.
RECT OnAScreen(RECT place) {
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    if (!GetMonitorInfoW(MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &screen)) return place;
    const RECT& work = screen.rcWork;
    const LONG width = std::min(place.right - place.left, work.right - work.left);
    const LONG height = std::min(place.bottom - place.top, work.bottom - work.top);
    const LONG left = std::max(work.left, std::min(place.left, work.right - width));
    const LONG top = std::max(work.top, std::min(place.top, work.bottom - height));
    return {left, top, left + width, top + height};
}

}  // namespace

bool TrafficWindow::Open(HWND owner, const std::optional<settings::WindowPlace>& place) {
    if (Handle()) {
        if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
        SetForegroundWindow(Handle());
        return true;
    }
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    const int dpi = win::WindowDpi(owner);
    win::WindowClass trafficClass = kTrafficClass;
    trafficClass.cursor = LoadCursor(nullptr, IDC_ARROW);
    trafficClass.icon = trafficClass.smallIcon =
        LoadIconA(win::ModuleInstance(), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    if (!Create(trafficClass, {owner, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                               win::ScaleToDpi(kWidth, dpi), win::ScaleToDpi(kHeight, dpi), nullptr}))
        return false;
    if (place) {
        const RECT shown = OnAScreen({place->left, place->top, place->left + place->width, place->top + place->height});
        SetWindowPos(Handle(), nullptr, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(Handle(), SW_SHOW);
    return true;
}

bool TrafficWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_CREATE:
        result = OnCreate() ? 0 : -1;
        return true;
    case WM_SIZE:
        LayOut();
        return true;
    case WM_TIMER:
        if (wParam != kTimerId) return false;
        Update();
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_TRAFFIC_SPAN || HIWORD(wParam) != CBN_SELCHANGE) return false;
        Update();
        return true;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_GETMINMAXINFO: {
        const int dpi = dpi_ ? dpi_ : win::WindowDpi(Handle());
        auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        limits.ptMinTrackSize = {win::ScaleToDpi(kLeastWidth, dpi), win::ScaleToDpi(kLeastHeight, dpi)};
        return true;
    }
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        UseDpi(HIWORD(wParam));
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    // The high-contrast scheme or the system's colours changed: the chart takes them.
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        InvalidateRect(chart_.Handle(), nullptr, FALSE);
        return false;
    case WM_DESTROY:
        OnDestroy();
        return true;
    default:
        return false;
    }
}

bool TrafficWindow::OnCreate() {
    span_ = CreateWindowExA(0, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 0, 0, 0,
                            Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TRAFFIC_SPAN)),
                            win::ModuleInstance(), nullptr);
    if (!span_ || !chart_.Create(Handle(), IDC_TRAFFIC_CHART)) return false;
    for (int top = 0; top < kTops; ++top) {
        const TopShape& shape = kTopShapes[top];
        if (!tops_[top].list.Create(Handle(), shape.titleId, shape.listId, shape.title, shape.nameHeader)) return false;
    }
    for (const SpanOption& choice : kSpans)
        SendMessageA(span_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.label));
    SendMessageA(span_, CB_SETCURSEL, 0, 0);
    UseDpi(win::WindowDpi(Handle()));
    Update();
    SetTimer(Handle(), kTimerId, kUpdateMs, nullptr);
    return true;
}

// Remembered as it lies when restored, so a window closed minimised or maximised opens as the user left it restored.
void TrafficWindow::OnDestroy() {
    KillTimer(Handle(), kTimerId);
    for (KeyedTop& top : tops_) top.listed.clear();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT place;
    if (IsIconic(Handle()) || IsZoomed(Handle())) {
        if (!GetWindowPlacement(Handle(), &placement)) return;
        place = placement.rcNormalPosition;
    } else if (!GetWindowRect(Handle(), &place)) {
        return;
    }
    lastPlace_ = settings::WindowPlace{place.left, place.top, place.right - place.left, place.bottom - place.top};
}

// The system's dialog font at the window's DPI, for every child.
void TrafficWindow::UseDpi(int dpi) {
    dpi_ = dpi;
    LOGFONTW description{};
    description.lfHeight = -MulDiv(kFontPoints, dpi, kPointsPerInch);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(description.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    win::GdiObject<HFONT> font(CreateFontIndirectW(&description));
    const HFONT used = font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(span_, WM_SETFONT, reinterpret_cast<WPARAM>(used), TRUE);
    SendMessageA(chart_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(used), TRUE);
    for (KeyedTop& top : tops_) top.list.SetFont(used);
    font_ = std::move(font);  // the old font goes once no child uses it
    LayOut();
}

// The span's choice at the top left; the chart below it across the window;
// below the chart the top lists side by side.
void TrafficWindow::LayOut() {
    if (!span_ || !dpi_) return;
    RECT client;
    GetClientRect(Handle(), &client);
    const int margin = win::ScaleToDpi(kMargin, dpi_);
    MoveWindow(span_, margin, margin, win::ScaleToDpi(kSpanWidth, dpi_), win::ScaleToDpi(kSpanDropHeight, dpi_), TRUE);
    RECT spanPlace;
    GetWindowRect(span_, &spanPlace);
    const int chartTop = margin + (spanPlace.bottom - spanPlace.top) + margin;
    const int below = std::max(0, static_cast<int>(client.bottom) - chartTop - margin);
    const int chartBottom = chartTop + below * kChartShare / kPercent;
    MoveWindow(chart_.Handle(), margin, chartTop, std::max(0, static_cast<int>(client.right) - 2 * margin),
               chartBottom - chartTop, TRUE);

    const int listsTop = chartBottom + margin;
    const int width = std::max(0, (static_cast<int>(client.right) - margin * (kTops + 1)) / kTops);
    const int titleHeight = MulDiv(kFontPoints, dpi_, kPointsPerInch) * 3 / 2 + win::ScaleToDpi(kTitleGap, dpi_);
    for (int index = 0; index < kTops; ++index) {
        const int left = margin + index * (width + margin);
        tops_[index].list.Place(
            {left, listsTop, left + width, std::max(listsTop, static_cast<int>(client.bottom) - margin)}, titleHeight);
    }
}

// A failed allocation leaves what is shown for the next second.
void TrafficWindow::Update() {
    try {
        ChartData data;
        const LRESULT chosen = SendMessageA(span_, CB_GETCURSEL, 0, 0);
        data.span = chosen >= 0 && static_cast<size_t>(chosen) < sizeof kSpans / sizeof kSpans[0]
                        ? kSpans[chosen].span
                        : records::TrafficSpan::TenMinutes;
        const std::uint64_t now = net::FileTimeNow();
        book_.History().Bins(data.span, now, data.bins);
        const std::uint64_t binSeconds = records::ShapeOf(data.span).binSeconds;
        data.lastBinStart = now / records::kFileTimePerSecond / binSeconds * binSeconds;
        chart_.Show(std::move(data));
        ShowTops();
    } catch (const std::bad_alloc&) {
    }
}

// Each list with the keys its rows stand for. Throws std::bad_alloc.
void TrafficWindow::ShowTops() {
    std::vector<TopEntry> entries[kTops];
    std::vector<records::RowKeys> keys[kTops];
    for (const records::SenderCount& sender : book_.Counts().TopSenders(kTopCount)) {
        char address[net::kDottedQuadCapacity];
        net::FormatDottedQuad(sender.address, address);
        entries[kSenders].push_back({address, sender.rows});
        keys[kSenders].push_back({sender.address, std::nullopt, std::nullopt});
    }
    for (records::NameCount& host : book_.NameCounts().TopHosts(kTopCount)) {
        keys[kHosts].push_back({0, host.name, std::nullopt});
        entries[kHosts].push_back({std::move(host.name), host.rows});
    }
    for (records::NameCount& app : book_.NameCounts().TopApps(kTopCount)) {
        keys[kApps].push_back({0, std::nullopt, app.name});
        entries[kApps].push_back({std::move(app.name), app.rows});
    }
    const size_t held = book_.Held().Count();
    for (int top = 0; top < kTops; ++top) {
        tops_[top].list.Show(entries[top], held);
        tops_[top].listed = std::move(keys[top]);
    }
}

bool TrafficWindow::OnNotify(const NMHDR& notice) {
    for (const KeyedTop& top : tops_) {
        if (notice.hwndFrom != top.list.List()) continue;
        int row = -1;
        if (notice.code == NM_DBLCLK)
            row = reinterpret_cast<const NMITEMACTIVATE&>(notice).iItem;
        else if (notice.code == NM_RETURN)
            row = top.list.SelectedRow();
        else
            return false;
        if (row >= 0 && static_cast<size_t>(row) < top.listed.size())
            showOnly_(top.listed[static_cast<size_t>(row)], top.key);
        return true;
    }
    return false;
}

}  // namespace ui
