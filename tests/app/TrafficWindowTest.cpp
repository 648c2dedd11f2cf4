// TrafficWindowTest.cpp: the Traffic window's chart painted where the counts say, its tip, the top senders, and its
// place kept in the INI file.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "ui/ChartPainting.h"
#include "ui/TrafficWindow.h"
#include "ui/TrafficWindowClassName.h"
#include "win/Dpi.h"

namespace {

using namespace testing_support;

// The list's own severity colours: the critical rows' background, the error and warning rows' texts.
constexpr COLORREF kDarkRed = RGB(139, 0, 0);
constexpr COLORREF kRed = RGB(210, 0, 0);
constexpr COLORREF kDarkOrange = RGB(200, 95, 0);

// What a window paints of its client area, asked with WM_PRINTCLIENT into a bitmap of our own.
class Painted {
public:
    explicit Painted(HWND window) {
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        const HDC screen = GetDC(nullptr);
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        const HGDIOBJ before = SelectObject(dc, bitmap);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(pixels, pixels + static_cast<size_t>(width_) * static_cast<size_t>(height_));
        SelectObject(dc, before);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }

    COLORREF At(int x, int y) const {
        const std::uint32_t pixel = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        return RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
    }
    int Width() const { return width_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// The colours of one column of the plot from its bottom up, as runs: "colour x pixels".
struct Run {
    COLORREF colour;
    int pixels;
};
std::vector<Run> ColumnRuns(const Painted& painted, int x, const RECT& plot) {
    std::vector<Run> runs;
    for (int y = plot.bottom - 1; y >= plot.top; --y) {
        const COLORREF colour = painted.At(x, y);
        if (!runs.empty() && runs.back().colour == colour)
            ++runs.back().pixels;
        else
            runs.push_back({colour, 1});
    }
    return runs;
}

bool IsBarColour(COLORREF colour) {
    for (size_t index = 0; index < records::kSeverityClasses; ++index)
        if (colour == ui::ClassColour(static_cast<records::SeverityClass>(index))) return true;
    return false;
}

// Messages stamped some seconds before now, from senders, as the Receive thread makes them.
struct Arrival {
    int secondsBack;
    const char* message;
    const char* sender;
    int count;
};
constexpr Arrival kArrivals[] = {
    {100, "<2>Dec  8 10:00:00 fw1 kernel: disk failed", "10.0.0.1", 4},
    {300, "<11>Dec  8 10:00:00 FW1 ifmgr[12]: link down", "10.0.0.2", 2},
    {300, "<12>Dec  8 10:00:00 sw2 ifmgr[12]: link flapping", "10.0.0.2", 2},
    {500, "<13>Dec  8 10:00:00 sw3 sshd: all fine", "10.0.0.3", 3},
    {500, "no priority at all", "10.0.0.4", 1},
};

void DeliverArrivals(app::MainWindow& window, std::uint64_t now) {
    for (const Arrival& arrival : kArrivals) {
        for (int copy = 0; copy < arrival.count; ++copy) {
            net::RecordPtr record = MakeRecord(arrival.message, arrival.sender);
            record->receivedAt = now - static_cast<std::uint64_t>(arrival.secondsBack) * records::kFileTimePerSecond;
            DeliverRecord(window, std::move(record));
        }
    }
}

// The x in the middle of the bar that holds the second some seconds before the chart's newest bin ends, or the
// one next to it: the chart took its time a moment after the records were stamped.
struct BarPlace {
    int left;
    int right;
};
BarPlace BarOf(const ui::ChartData& data, const RECT& plot, std::uint64_t stampedSecond) {
    const std::uint64_t binSeconds = records::ShapeOf(data.span).binSeconds;
    const size_t bars = data.bins.size();
    const size_t back = static_cast<size_t>((data.lastBinStart - stampedSecond / binSeconds * binSeconds) / binSeconds);
    const size_t bar = bars - 1 - back;
    const int width = plot.right - plot.left;
    return {plot.left + static_cast<int>(static_cast<long long>(width) * static_cast<long long>(bar) / bars),
            plot.left + static_cast<int>(static_cast<long long>(width) * static_cast<long long>(bar + 1) / bars)};
}

// The runs of bar colours at the bar's middle, from the bottom up.
std::vector<Run> BarRuns(const Painted& painted, const RECT& plot, const BarPlace& bar) {
    std::vector<Run> runs;
    for (const Run& run : ColumnRuns(painted, (bar.left + bar.right) / 2, plot))
        if (IsBarColour(run.colour)) runs.push_back(run);
    return runs;
}

void ExpectRuns(const std::vector<Run>& seen, const std::vector<Run>& expected) {
    ASSERT_EQ(expected.size(), seen.size());
    for (size_t index = 0; index < expected.size(); ++index) {
        EXPECT_EQ(expected[index].colour, seen[index].colour) << "run " << index;
        EXPECT_NEAR(expected[index].pixels, seen[index].pixels, 1) << "run " << index;
    }
}

void ChooseSpan(HWND traffic, HWND choice, int index) {
    SendMessageA(choice, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(traffic, WM_COMMAND, MAKEWPARAM(IDC_TRAFFIC_SPAN, CBN_SELCHANGE), reinterpret_cast<LPARAM>(choice));
}

std::wstring TipText(HWND tip, HWND chart) {
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = chart;
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// Four critical messages 100 s ago, two errors and two warnings 300 s ago,
// three notices and one without a priority 500 s ago: three bars, each
// stacked from the bottom up, worst first, on a scale of 5 messages per
// second; nothing anywhere else. The hour and the day stack them alike.
TEST(TrafficWindow, TheChartStacksEachBarInTheSeverityColoursWhereTheCountsSay) {
    RunningMainWindow main;
    const std::uint64_t now = net::FileTimeNow();
    DeliverArrivals(main.Window(), now);
    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_TRAFFIC, 0);
    const ui::TrafficWindow& traffic = main.Window().Traffic();
    ASSERT_TRUE(traffic.Handle());
    EXPECT_TRUE(IsWindowVisible(traffic.Handle()));
    EXPECT_EQ(main.Handle(), GetWindow(traffic.Handle(), GW_OWNER));
    // A pixel a bar or more.
    SetWindowPos(traffic.Handle(), nullptr, 0, 0, 1200, 600, SWP_NOMOVE | SWP_NOZORDER);
    const HWND chart = traffic.Chart().Handle();
    RECT client;
    GetClientRect(chart, &client);
    const RECT plot = ui::PlotArea(client, win::WindowDpi(chart));
    const int height = plot.bottom - plot.top;
    ASSERT_GE(plot.right - plot.left, 600);

    const std::uint64_t second = now / records::kFileTimePerSecond;
    const ui::ChartData& data = traffic.Chart().Data();
    ASSERT_EQ(records::TrafficSpan::TenMinutes, data.span);
    ASSERT_EQ(600u, data.bins.size());
    const Painted painted(chart);
    const BarPlace critical = BarOf(data, plot, second - 100);
    const BarPlace errors = BarOf(data, plot, second - 300);
    const BarPlace others = BarOf(data, plot, second - 500);
    ExpectRuns(BarRuns(painted, plot, critical), {{kDarkRed, height * 4 / 5}});
    ExpectRuns(BarRuns(painted, plot, errors), {{kRed, height * 2 / 5}, {kDarkOrange, height * 2 / 5}});
    ExpectRuns(BarRuns(painted, plot, others), {{ui::ClassColour(records::SeverityClass::Other), height * 3 / 5},
                                                {ui::ClassColour(records::SeverityClass::NoPriority), height / 5}});
    for (int x = plot.left; x < plot.right; ++x) {
        const bool inABar = (x >= critical.left && x < critical.right) || (x >= errors.left && x < errors.right) ||
                            (x >= others.left && x < others.right);
        if (inABar) continue;
        for (int y = plot.top; y < plot.bottom; ++y)
            if (IsBarColour(painted.At(x, y))) {
                ADD_FAILURE() << "a bar's colour at " << x << "," << y;
                return;
            }
    }

    // The bar under the pointer, in the tip.
    SendMessageA(chart, WM_MOUSEMOVE, 0, MAKELPARAM((critical.left + critical.right) / 2, plot.bottom - 2));
    const std::wstring tip = TipText(traffic.Chart().Tip(), chart);
    EXPECT_NE(std::wstring::npos, tip.find(L"\r\n4 messages, 4/s\r\nEmergency to critical: 4")) << tip;
    SendMessageA(chart, WM_MOUSEMOVE, 0, MAKELPARAM((errors.left + errors.right) / 2, plot.bottom - 2));
    EXPECT_NE(std::wstring::npos,
              TipText(traffic.Chart().Tip(), chart).find(L"\r\n4 messages, 4/s\r\nError: 2\r\nWarning: 2"));

    // Six seconds a bar: 4 messages in one are 0.67 a second, on a scale of 1.
    ChooseSpan(traffic.Handle(), traffic.SpanChoice(), 1);
    ASSERT_EQ(records::TrafficSpan::Hour, traffic.Chart().Data().span);
    const Painted hour(chart);
    ExpectRuns(BarRuns(hour, plot, BarOf(traffic.Chart().Data(), plot, second - 100)), {{kDarkRed, height * 4 / 6}});
    ExpectRuns(BarRuns(hour, plot, BarOf(traffic.Chart().Data(), plot, second - 300)),
               {{kRed, height * 2 / 6}, {kDarkOrange, height * 2 / 6}});
    // 150 seconds a bar: 4 messages in one are 0.027 a second, on a scale of 0.05.
    ChooseSpan(traffic.Handle(), traffic.SpanChoice(), 2);
    ASSERT_EQ(576u, traffic.Chart().Data().bins.size());
    const Painted day(chart);
    ExpectRuns(BarRuns(day, plot, BarOf(traffic.Chart().Data(), plot, second - 100)),
               {{kDarkRed, static_cast<int>(height * (4.0 / 150) / 0.05 + 0.5)}});
}

// In high contrast the axes and the text take the system's window text colour; the bars keep theirs. Painted
// through GDI alone, as into any context that is not the chart's own buffer.
TEST(TrafficWindow, InHighContrastTheAxesTakeTheSystemsColours) {
    const RECT client = {0, 0, 400, 200};
    const RECT plot = ui::PlotArea(client, 96);
    for (const bool highContrast : {false, true}) {
        SCOPED_TRACE(highContrast ? "high contrast" : "plain");
        const HDC screen = GetDC(nullptr);
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        const HGDIOBJ before = SelectObject(dc, bitmap);
        ui::ChartData data;
        data.bins.resize(records::kTenMinutes.bins);
        data.bins.back().counts[static_cast<size_t>(records::SeverityClass::Error)] = 1;
        ui::PaintChart({dc}, client, 96, data, highContrast);
        const COLORREF axis = GetPixel(dc, plot.left, (plot.top + plot.bottom) / 2);
        const COLORREF background = GetPixel(dc, (plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2 + 10);
        EXPECT_EQ(kRed, GetPixel(dc, plot.right - 1, plot.bottom - 2)) << "the bars keep their colours";
        SelectObject(dc, before);
        DeleteObject(bitmap);
        DeleteDC(dc);
        if (highContrast) {
            EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), axis);
            EXPECT_EQ(GetSysColor(COLOR_WINDOW), background);
        } else {
            EXPECT_NE(GetSysColor(COLOR_WINDOWTEXT), axis);
        }
    }
}

// Those of the owner's alone: tests running beside this one may have windows of the class on the same desktop.
int WindowsOfClass(const char* className, HWND owner) {
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr;)
        if (GetWindow(window, GW_OWNER) == owner) ++count;
    return count;
}

void ExpectCells(HWND list, const std::vector<std::vector<std::string>>& expected) {
    ASSERT_EQ(static_cast<int>(expected.size()), win::ListView(list).Count());
    for (int row = 0; row < static_cast<int>(expected.size()); ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(expected[static_cast<size_t>(row)][static_cast<size_t>(column)], CellText(list, row, column))
                << "row " << row << ", column " << column;
}

void DoubleClick(HWND window, HWND list, int row) {
    NMITEMACTIVATE doubleClick{};
    doubleClick.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(NM_DBLCLK)};
    doubleClick.iItem = row;
    SendMessageA(window, WM_NOTIFY, doubleClick.hdr.idFrom, reinterpret_cast<LPARAM>(&doubleClick));
}

std::string MainTitle(HWND main) {
    char title[256] = {};
    GetWindowTextA(main, title, sizeof title);
    return title;
}

// The senders, hosts and apps with most rows held, each with its rows and
// share: a host in either case is one, written as its oldest row writes it;
// a row whose header names none is in neither list. A double click shows
// only that sender or host in the list, Enter the app selected. A second
// command brings the one window to the front.
TEST(TrafficWindow, TopSendersHostsAndAppsAreCountedAndADoubleClickShowsOnlyThatOne) {
    RunningMainWindow main;
    DeliverArrivals(main.Window(), net::FileTimeNow());
    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_TRAFFIC, 0);
    const ui::TrafficWindow& traffic = main.Window().Traffic();
    const HWND window = traffic.Handle();
    ASSERT_TRUE(window);
    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_TRAFFIC, 0);
    EXPECT_EQ(window, traffic.Handle());
    EXPECT_EQ(1, WindowsOfClass(ui::kTrafficWindowClassName, main.Handle()));

    const HWND senders = traffic.TopSenders();
    ExpectCells(senders, {{"10.0.0.1", "4", "33.3 %"},
                          {"10.0.0.2", "4", "33.3 %"},
                          {"10.0.0.3", "3", "25.0 %"},
                          {"10.0.0.4", "1", "8.3 %"}});
    ExpectCells(traffic.TopHosts(), {{"fw1", "6", "50.0 %"}, {"sw3", "3", "25.0 %"}, {"sw2", "2", "16.7 %"}});
    ExpectCells(traffic.TopApps(), {{"ifmgr", "4", "33.3 %"}, {"kernel", "4", "33.3 %"}, {"sshd", "3", "25.0 %"}});
    EXPECT_EQ(IDC_TRAFFIC_TOP_HOSTS, GetDlgCtrlID(traffic.TopHosts()));
    EXPECT_EQ(IDC_TRAFFIC_TOP_APPS, GetDlgCtrlID(traffic.TopApps()));

    const HWND list = main.Window().MessageList();
    DoubleClick(window, senders, 2);
    EXPECT_EQ("Kelv SysLog monitor - 3 of 12 rows shown", MainTitle(main.Handle()));
    ASSERT_EQ(3, win::ListView(list).Count());
    for (int row = 0; row < 3; ++row) EXPECT_EQ("10.0.0.3", CellText(list, row, 0));

    // Every row again, then fw1's rows in either case, from both senders.
    SendMessageA(main.Handle(), WM_COMMAND, ID_LIST_SHOW_ALL_ROWS, 0);
    DoubleClick(window, traffic.TopHosts(), 0);
    EXPECT_EQ("Kelv SysLog monitor - 6 of 12 rows shown", MainTitle(main.Handle()));
    ASSERT_EQ(6, win::ListView(list).Count());
    for (int row = 0; row < 6; ++row) {
        const std::string details = CellText(list, row, 1);
        EXPECT_NE(std::string::npos, details.find(row < 4 ? " fw1 kernel: " : " FW1 ifmgr[12]: ")) << details;
    }
    const records::RowFilter& filter = main.Window().Book().Shown().Filter();
    EXPECT_EQ(std::vector<std::string>{"fw1"}, filter.hosts);
    EXPECT_FALSE(filter.hideHosts);

    const HWND apps = traffic.TopApps();
    win::ListView(apps).SetState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMHDR enter = {apps, IDC_TRAFFIC_TOP_APPS, static_cast<UINT>(NM_RETURN)};
    SendMessageA(window, WM_NOTIFY, IDC_TRAFFIC_TOP_APPS, reinterpret_cast<LPARAM>(&enter));
    EXPECT_EQ(std::vector<std::string>{"sshd"}, main.Window().Book().Shown().Filter().apps);
    EXPECT_EQ("Kelv SysLog monitor - 0 of 12 rows shown", MainTitle(main.Handle())) << "the host's condition stays";

    // Rows leave: the counts follow within a second.
    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_CLEAR, 0);
    EXPECT_TRUE(PumpUntil(
        [&] {
            return win::ListView(senders).Count() == 0 && win::ListView(traffic.TopHosts()).Count() == 0 &&
                   win::ListView(apps).Count() == 0;
        },
        3000));
}

RECT WindowPlace(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    return place;
}

// Absent from the INI file until the window has been open; then where it was
// when it closed, and it opens there; a place off every screen is moved onto one.
TEST(TrafficWindow, ItsPlaceIsKeptInTheIniFileAndItOpensThereOnAScreen) {
    std::string ini;
    {
        RunningMainWindow main;
        SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_TRAFFIC, 0);
        const HWND window = main.Window().Traffic().Handle();
        ASSERT_TRUE(window);
        SetWindowPos(window, nullptr, 40, 50, 500, 400, SWP_NOZORDER);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_FALSE(main.Window().Traffic().Handle());
        main.Close();
        ini = ReadFileBytes(main.IniPath());
        EXPECT_NE(std::string::npos, ini.find("\r\nTrafficWindow=40,50,500,400\r\n")) << ini;
    }
    {
        RunningMainWindow main(ini);
        SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_TRAFFIC, 0);
        const RECT place = WindowPlace(main.Window().Traffic().Handle());
        EXPECT_EQ(40, place.left);
        EXPECT_EQ(50, place.top);
        EXPECT_EQ(540, place.right);
        EXPECT_EQ(450, place.bottom);
    }
    RunningMainWindow main(SettingsSection({{"TrafficWindow", "-5000,-4000,500,400"}}));
    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_TRAFFIC, 0);
    const RECT place = WindowPlace(main.Window().Traffic().Handle());
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.left, place.left);
    EXPECT_EQ(work.top, place.top);
    EXPECT_EQ(500, place.right - place.left);
    EXPECT_EQ(400, place.bottom - place.top);
}

}  // namespace
