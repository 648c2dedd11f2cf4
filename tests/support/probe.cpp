// probe.cpp: looks at a running monitor from outside, for the end-to-end tests and the benchmark.
//
//   probe <monitor exe path> wait <milliseconds>   until its window is visible
//   probe <monitor exe path> rows                  "rows N", then one "<sender> <message>" line per row
//   probe <monitor exe path> pane                  "pane <text>"
//   probe <monitor exe path> close                 posts WM_CLOSE, as the close button would
//   probe <monitor exe path> count                 "count N", the number of rows
//   probe <monitor exe path> clear                 the Clear command; "clear_s <seconds>" once it is done
//   probe <monitor exe path> memory                "private N", the program's private bytes
//   probe <monitor exe path> ping                  "ping N", milliseconds WM_NULL took to be answered
//   probe <monitor exe path> traffic               View > Traffic...; "traffic yes" (or "no") once its window
//                                                  is up, and "status yes" (or "no"): whether the status bar shows
//   probe <monitor exe path> filter <text>         View > Filter..., the text as "Show rows containing", OK;
//                                                  "title <the title>" once it counts the rows shown
//   probe <monitor exe path> filterhost <host>     the same, the host chosen alone among the dialog's hosts
//                                                  (those the rows name) and shown only
//   probe <monitor exe path> post <main|list|pane> <message> <wParam> <lParam> [<message> <wParam> <lParam>]...
//                                                  posts each message to that window, as any program may;
//                                                  numbers in C's notation (0x10, 1024, -1)
//   probe <monitor exe path> watch <out file> <stop file> [<row poll ms>]
//                                                  samples until the stop file exists, writing to the out file
//                                                  "nul <start µs> <round trip µs>", a WM_NULL round trip to
//                                                  the main window, one every 100 ms, and "rows <µs> <count>",
//                                                  the row count, polled every 10 ms (or as given), written
//                                                  when it changes
//   probe <monitor exe path> calls <out file> <stop file>
//                                                  samples until the stop file exists, writing to the out file
//                                                  "caption <µs> <active|inactive|unknown>", how its caption
//                                                  is drawn on the screen (under Wine, a flash draws it active),
//                                                  and "balloon <µs> <text|none>", the notification the shell
//                                                  shows, each when it changes; times as watch's
//   probe system-text <hex code>                   "text <the system's text for the code>"
//   probe front <stop file>                        a window of its own in front of the others, at the
//                                                  screen's right edge, until the stop file exists;
//                                                  "front yes" (or "no") once it has asked to be in front
//
// Texts are printed as lower-case hex, so every byte arrives unchanged. Times
// in watch's samples are wall-clock microseconds since 1970, comparable with
// the host's. Exit code 0 on success, 1 when the window is not there or does
// not answer, 2 on a usage error.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/MainWindowClassName.h"
#include "diag/DiagnosticsPane.h"
#include "list/MessageList.h"
#include "res/resource.h"
#include "ui/TrafficWindowClassName.h"

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;
// The first dialog of a run can take seconds to come up under a busy Wine.
constexpr UINT kDialogTimeoutMs = 30000;
// Clearing a million rows takes minutes under Wine; the probe waits for it to be done.
constexpr UINT kClearTimeoutMs = 1200000;
// A watched round trip is timed this long before the sample gives up on it.
constexpr UINT kRoundTripTimeoutMs = 10000;
constexpr DWORD kPollMs = 50;
constexpr DWORD kRoundTripIntervalMs = 100;
constexpr DWORD kRowPollMs = 10;  // unless the watch is given another
// 100-ns intervals between 1601 and 1970.
constexpr unsigned long long kUnixEpochIn100ns = 116444736000000000ULL;
// Room for the longest message the monitor keeps (4096 bytes) and its terminator.
constexpr int kCellCapacity = 8192;

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ProcessHandle = std::unique_ptr<void, HandleCloser>;

ProcessHandle OpenProcessOf(HWND window, DWORD access) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return ProcessHandle(OpenProcess(access, FALSE, processId));
}

std::string Hex(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", byte);
        hex += digits;
    }
    return hex;
}

void PrintHex(const char* label, const std::string& bytes) {
    std::printf("%s%s", label, Hex(bytes).c_str());
}

// The windows of another program of the same name (or a test that creates the
// main window itself) are told apart by the executable that owns them.
bool OwnedBy(HWND window, const char* exePath) {
    const ProcessHandle process = OpenProcessOf(window, PROCESS_QUERY_LIMITED_INFORMATION);
    char image[MAX_PATH];
    DWORD length = MAX_PATH;
    return process && QueryFullProcessImageNameA(process.get(), 0, image, &length) &&
           _stricmp(image, exePath) == 0;
}

struct MonitorSearch {
    const char* exePath;
    HWND found;
};

BOOL CALLBACK StopAtTheMonitor(HWND window, LPARAM parameter) {
    MonitorSearch& search = *reinterpret_cast<MonitorSearch*>(parameter);
    char className[sizeof app::kMainWindowClassName + 1] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, app::kMainWindowClassName) != 0 || !OwnedBy(window, search.exePath)) return TRUE;
    search.found = window;
    return FALSE;
}

// The windows are listed once, up front: a walk from one window to the next
// ends early when another program (a test beside us) closes a window of the
// same class on the way, and the monitor would seem to be gone.
HWND FindMonitor(const char* exePath) {
    MonitorSearch search{exePath, nullptr};
    EnumWindows(StopAtTheMonitor, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ListOf(HWND monitor) {
    return GetDlgItem(monitor, IDC_MESSAGE_LIST);
}

HWND PaneOf(HWND monitor) {
    return GetDlgItem(monitor, IDC_DIAGNOSTICS_PANE);
}

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer,
         UINT timeoutMs = kAnswerTimeoutMs) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result))
        return false;
    answer = static_cast<LRESULT>(result);
    return true;
}

bool AskRowCount(HWND list, LRESULT& count) {
    return list && Ask(list, LVM_GETITEMCOUNT, 0, 0, count);
}

// Elapsed time on the performance counter.
class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    unsigned long long Microseconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<unsigned long long>((now.QuadPart - start_.QuadPart) * 1000000 / frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

// Microseconds until the window answered WM_NULL, or until the wait gave up.
// Not SMTO_ABORTIFHUNG: a window busy for long is what is being timed.
bool RoundTrip(HWND window, UINT timeoutMs, unsigned long long& microseconds) {
    const Stopwatch stopwatch;
    DWORD_PTR unused = 0;
    const bool answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &unused) != 0;
    microseconds = stopwatch.Microseconds();
    return answered;
}

// A block of memory inside the monitor's process, for messages whose
// parameters point at memory the list-view writes into.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* Address() const { return static_cast<char*>(address_); }
    bool Write(size_t offset, const void* bytes, size_t count) const {
        return WriteProcessMemory(process_, Address() + offset, bytes, count, nullptr) != 0;
    }
    bool Read(size_t offset, void* bytes, size_t count) const {
        return ReadProcessMemory(process_, Address() + offset, bytes, count, nullptr) != 0;
    }

private:
    HANDLE process_;
    void* address_;
};

bool ReadCell(HWND list, const RemoteBlock& block, int row, int column, std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = block.Address() + sizeof item;
    item.cchTextMax = kCellCapacity;
    LRESULT length = 0;
    if (!block.Write(0, &item, sizeof item) ||
        !Ask(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.Address()), length))
        return false;
    text.assign(static_cast<size_t>(length), '\0');
    return length == 0 || block.Read(sizeof item, &text[0], text.size());
}

// Every row's sender and message, read through a block in the monitor's process.
bool ReadRows(HWND list, int count, std::vector<std::string>& cells) {
    const ProcessHandle process = OpenProcessOf(list, PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE);
    if (!process) return false;
    const RemoteBlock block(process.get(), sizeof(LVITEMA) + kCellCapacity);
    if (!block.Address()) return false;
    for (int row = 0; row < count; ++row) {
        std::string sender, message;
        if (!ReadCell(list, block, row, 0, sender) || !ReadCell(list, block, row, 1, message)) return false;
        cells.push_back(sender);
        cells.push_back(message);
    }
    return true;
}

int PrintRows(HWND monitor) {
    const HWND list = ListOf(monitor);
    LRESULT count = 0;
    std::vector<std::string> cells;
    if (!AskRowCount(list, count) || !ReadRows(list, static_cast<int>(count), cells)) return kFailed;
    std::printf("rows %d\n", static_cast<int>(count));
    for (size_t i = 0; i < cells.size(); i += 2) {
        PrintHex("", cells[i]);
        PrintHex(" ", cells[i + 1]);
        std::printf("\n");
    }
    return kOk;
}

int PrintPane(HWND monitor) {
    const HWND pane = PaneOf(monitor);
    LRESULT length = 0;
    if (!pane || !Ask(pane, WM_GETTEXTLENGTH, 0, 0, length)) return kFailed;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = 0;
    if (!Ask(pane, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) return kFailed;
    PrintHex("pane ", std::string(text.data(), static_cast<size_t>(copied)));
    std::printf("\n");
    return kOk;
}

int PrintCount(HWND monitor) {
    LRESULT count = 0;
    if (!AskRowCount(ListOf(monitor), count)) return kFailed;
    std::printf("count %d\n", static_cast<int>(count));
    return kOk;
}

int Clear(HWND monitor) {
    const Stopwatch stopwatch;
    LRESULT unused = 0;
    if (!Ask(monitor, WM_COMMAND, ID_VIEW_CLEAR, 0, unused, kClearTimeoutMs)) return kFailed;
    std::printf("clear_s %.4f\n", static_cast<double>(stopwatch.Microseconds()) / 1e6);
    return kOk;
}

// Wine leaves PrivateUsage 0 and gives the same figure as PagefileUsage.
int PrintMemory(HWND monitor) {
    const ProcessHandle process = OpenProcessOf(monitor, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!process || !GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                          sizeof counters))
        return kFailed;
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    std::printf("private %llu\n", static_cast<unsigned long long>(privateBytes));
    return kOk;
}

int Ping(HWND monitor) {
    unsigned long long microseconds = 0;
    if (!RoundTrip(monitor, kAnswerTimeoutMs, microseconds)) return kFailed;
    std::printf("ping %llu\n", microseconds / 1000);
    return kOk;
}

unsigned long long WallMicroseconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - kUnixEpochIn100ns) / 10;
}

// One writer for both sampling threads, each line flushed so the host can follow it.
class SampleLog {
public:
    explicit SampleLog(const char* path) : file_(std::fopen(path, "w")) {}
    ~SampleLog() {
        if (file_) std::fclose(file_);
    }
    SampleLog(const SampleLog&) = delete;
    SampleLog& operator=(const SampleLog&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    void Line(const char* kind, unsigned long long at, unsigned long long value) {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::fprintf(file_, "%s %llu %llu\n", kind, at, value);
        std::fflush(file_);
    }
    void Text(const char* kind, unsigned long long at, const std::string& text) {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::fprintf(file_, "%s %llu %s\n", kind, at, text.c_str());
        std::fflush(file_);
    }

private:
    FILE* file_;
    std::mutex mutex_;
};

void SampleRoundTrips(HWND monitor, SampleLog& log, const std::atomic<bool>& stop) {
    while (!stop) {
        const unsigned long long at = WallMicroseconds();
        unsigned long long roundTrip = 0;
        RoundTrip(monitor, kRoundTripTimeoutMs, roundTrip);
        log.Line("nul", at, roundTrip);
        const unsigned long long spentMs = roundTrip / 1000;
        if (spentMs < kRoundTripIntervalMs) Sleep(static_cast<DWORD>(kRoundTripIntervalMs - spentMs));
    }
}

void PollRows(HWND list, DWORD pollMs, SampleLog& log, const std::atomic<bool>& stop) {
    LRESULT last = -1;
    while (!stop) {
        LRESULT count = 0;
        if (AskRowCount(list, count) && count != last) {
            last = count;
            log.Line("rows", WallMicroseconds(), static_cast<unsigned long long>(count));
        }
        Sleep(pollMs);
    }
}

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int Watch(HWND monitor, const char* outPath, const char* stopPath, DWORD rowPollMs) {
    const HWND list = ListOf(monitor);
    SampleLog log(outPath);
    if (!list || !log.IsOpen()) return kFailed;
    std::atomic<bool> stop{false};
    std::thread roundTrips(SampleRoundTrips, monitor, std::ref(log), std::cref(stop));
    std::thread rows(PollRows, list, rowPollMs, std::ref(log), std::cref(stop));
    while (!Exists(stopPath)) Sleep(kPollMs);
    stop = true;
    roundTrips.join();
    rows.join();
    return kOk;
}

HWND PostTarget(HWND monitor, const char* name) {
    if (std::strcmp(name, "main") == 0) return monitor;
    if (std::strcmp(name, "list") == 0) return ListOf(monitor);
    if (std::strcmp(name, "pane") == 0) return PaneOf(monitor);
    return nullptr;
}

// Negative numbers wrap to their two's complement, as a parameter's bits would.
bool ParseNumber(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 0);
    return *text != '\0' && *end == '\0';
}

// arguments: the target's name, then (message, wParam, lParam) triples.
int Post(HWND monitor, int count, char** arguments) {
    const HWND target = PostTarget(monitor, arguments[0]);
    if (!target) return kFailed;
    for (int at = 1; at + 2 < count; at += 3) {
        unsigned long long message = 0, wParam = 0, lParam = 0;
        // A message given by name is a registered one, as every program on the desktop can have it.
        if (!ParseNumber(arguments[at], message)) message = RegisterWindowMessageA(arguments[at]);
        if (!message || !ParseNumber(arguments[at + 1], wParam) || !ParseNumber(arguments[at + 2], lParam))
            return kUsage;
        // The system refuses to post its own messages that carry pointers; that is no failure here.
        if (!PostMessageA(target, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                          static_cast<LPARAM>(lParam)) &&
            GetLastError() != ERROR_MESSAGE_SYNC_ONLY)
            return kFailed;
    }
    return kOk;
}

int WaitForMonitor(const char* exePath, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND monitor = FindMonitor(exePath);
        if (monitor && IsWindowVisible(monitor)) return kOk;
        if (GetTickCount() - start >= timeoutMs) return kFailed;
        Sleep(kPollMs);
    }
}

int PrintSystemText(const char* hexCode) {
    const DWORD code = static_cast<DWORD>(std::strtoul(hexCode, nullptr, 16));
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
        code, LANG_USER_DEFAULT, reinterpret_cast<char*>(&text), 0, nullptr);
    if (!length) return kFailed;
    PrintHex("text ", std::string(text, length));
    std::printf("\n");
    LocalFree(text);
    return kOk;
}

// The Filter dialog over the monitor, once it has opened.
HWND FilterDialogOf(HWND monitor) {
    HWND dialog = nullptr;
    while ((dialog = FindWindowExA(nullptr, dialog, "#32770", "Filter")) != nullptr)
        if (GetWindow(dialog, GW_OWNER) == monitor) return dialog;
    return nullptr;
}

// View > Filter..., once the dialog has opened; null when it does not.
HWND OpenFilterDialog(HWND monitor) {
    if (!PostMessageA(monitor, WM_COMMAND, ID_VIEW_FILTER, 0)) return nullptr;
    const ULONGLONG deadline = GetTickCount64() + kDialogTimeoutMs;
    HWND dialog = nullptr;
    while (!(dialog = FilterDialogOf(monitor)) && GetTickCount64() < deadline) Sleep(20);
    return dialog;
}

// OK, as a user clicks it; done once the title counts the rows shown.
int ConfirmFilter(HWND monitor, HWND dialog) {
    if (!PostMessageA(dialog, WM_COMMAND, IDOK, 0)) return kFailed;
    const ULONGLONG deadline = GetTickCount64() + kAnswerTimeoutMs;
    char title[256] = {};
    while (!std::strstr(title, " rows shown") && GetTickCount64() < deadline) {
        Sleep(20);
        GetWindowTextA(monitor, title, sizeof title);
    }
    std::printf("title %s\n", title);
    return std::strstr(title, " rows shown") ? kOk : kFailed;
}

// The text typed into "Show rows containing" and OK, as a user does it.
int Filter(HWND monitor, const char* text) {
    const HWND dialog = OpenFilterDialog(monitor);
    LRESULT unused = 0;
    if (!dialog || !Ask(GetDlgItem(dialog, IDC_FILTER_SHOW_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                        unused))
        return kFailed;
    return ConfirmFilter(monitor, dialog);
}

// The host chosen alone in the dialog's hosts ("name (N rows)", among those
// the rows name), "Show only" checked for them, and OK, as a user does it.
int FilterHost(HWND monitor, const char* host) {
    const HWND dialog = OpenFilterDialog(monitor);
    if (!dialog) {
        std::printf("no Filter dialog\n");
        return kFailed;
    }
    const HWND hosts = GetDlgItem(dialog, IDC_FILTER_HOSTS);
    const std::string item = std::string(host) + " (";
    LRESULT found = LB_ERR, unused = 0;
    if (!Ask(hosts, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()), found) ||
        found == LB_ERR || !Ask(hosts, LB_SETSEL, FALSE, -1, unused) || !Ask(hosts, LB_SETSEL, TRUE, found, unused) ||
        !Ask(GetDlgItem(dialog, IDC_FILTER_SHOW_HOSTS), BM_SETCHECK, BST_CHECKED, 0, unused) ||
        !Ask(GetDlgItem(dialog, IDC_FILTER_HIDE_HOSTS), BM_SETCHECK, BST_UNCHECKED, 0, unused)) {
        std::printf("no host %s among the Filter dialog's\n", host);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return kFailed;
    }
    return ConfirmFilter(monitor, dialog);
}

// The Traffic window the monitor owns, once it is shown.
HWND TrafficWindowOf(HWND monitor) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, ui::kTrafficWindowClassName, nullptr)) != nullptr)
        if (GetWindow(window, GW_OWNER) == monitor && IsWindowVisible(window)) return window;
    return nullptr;
}

// View > Traffic..., as a user chooses it; done once its window is up.
int OpenTraffic(HWND monitor) {
    if (!PostMessageA(monitor, WM_COMMAND, ID_VIEW_TRAFFIC, 0)) return kFailed;
    const ULONGLONG deadline = GetTickCount64() + kAnswerTimeoutMs;
    HWND traffic = nullptr;
    while (!(traffic = TrafficWindowOf(monitor)) && GetTickCount64() < deadline) Sleep(20);
    const HWND status = GetDlgItem(monitor, IDC_STATUS_BAR);
    std::printf("traffic %s\nstatus %s\n", traffic ? "yes" : "no", status && IsWindowVisible(status) ? "yes" : "no");
    return traffic ? kOk : kFailed;
}

// The notification the shell shows for an icon: under Wine, a visible
// tooltip window of the balloon style, made by the shell's process. Wine 8
// answers WM_GETTEXT there with the text, but not TTM_GETTITLE with the title.
BOOL CALLBACK StopAtABalloon(HWND window, LPARAM parameter) {
    char className[sizeof TOOLTIPS_CLASSA + 1] = {};
    GetClassNameA(window, className, sizeof className);
    if (_stricmp(className, TOOLTIPS_CLASSA) != 0 || !IsWindowVisible(window) ||
        !(GetWindowLongPtrA(window, GWL_STYLE) & TTS_BALLOON))
        return TRUE;
    *reinterpret_cast<HWND*>(parameter) = window;
    return FALSE;
}

// The text of the notification shown, as hex, or "none".
std::string BalloonText() {
    HWND balloon = nullptr;
    EnumWindows(StopAtABalloon, reinterpret_cast<LPARAM>(&balloon));
    char text[1024] = {};
    LRESULT copied = 0;
    if (!balloon || !Ask(balloon, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), copied)) return "none";
    return Hex(std::string(text, static_cast<size_t>(copied)));
}

bool SameColour(const RGBQUAD& pixel, COLORREF colour) {
    return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue) == colour;
}

// How the monitor's caption is drawn on the screen: the middle row of its
// title bar counted in the active and the inactive caption's colours. Under
// Wine a flash shows there: the caption of a window behind others drawn active.
const char* CaptionDrawn(HWND monitor) {
    TITLEBARINFO titleBar{};
    titleBar.cbSize = sizeof titleBar;
    if (!GetTitleBarInfo(monitor, &titleBar)) return "unknown";
    const RECT& bar = titleBar.rcTitleBar;
    const int width = bar.right - bar.left;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP row = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(memory, row);
    const bool copied =
        row && width > 0 && BitBlt(memory, 0, 0, width, 1, screen, bar.left, (bar.top + bar.bottom) / 2, SRCCOPY);
    int active = 0, inactive = 0;
    for (int x = 0; copied && x < width; ++x) {
        const RGBQUAD& pixel = static_cast<const RGBQUAD*>(bits)[x];
        if (SameColour(pixel, GetSysColor(COLOR_ACTIVECAPTION)) ||
            SameColour(pixel, GetSysColor(COLOR_GRADIENTACTIVECAPTION)))
            ++active;
        if (SameColour(pixel, GetSysColor(COLOR_INACTIVECAPTION)) ||
            SameColour(pixel, GetSysColor(COLOR_GRADIENTINACTIVECAPTION)))
            ++inactive;
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (row) DeleteObject(row);
    if (!copied || active == inactive) return "unknown";
    return active > inactive ? "active" : "inactive";
}

// How the monitor calls the user, as far as Wine lets another program see
// it, sampled until the stop file exists: a line whenever the caption's
// drawing or the notification shown changes, the first ones at once.
int WatchCalls(HWND monitor, const char* outPath, const char* stopPath) {
    constexpr DWORD kCallPollMs = 10;
    SampleLog log(outPath);
    if (!log.IsOpen()) return kFailed;
    std::string caption, balloon;
    while (!Exists(stopPath)) {
        const std::string nowCaption = CaptionDrawn(monitor);
        if (nowCaption != caption) log.Text("caption", WallMicroseconds(), caption = nowCaption);
        const std::string nowBalloon = BalloonText();
        if (nowBalloon != balloon) log.Text("balloon", WallMicroseconds(), balloon = nowBalloon);
        Sleep(kCallPollMs);
    }
    return kOk;
}

// Another program's window, in front of the monitor, clear of its caption and of the tray.
int HoldFront(const char* stopPath) {
    constexpr int kFrontSize = 200;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = "MonitorProbeFront";
    if (!RegisterClassA(&windowClass)) return kFailed;
    const HWND front = CreateWindowExA(0, windowClass.lpszClassName, "Another program", WS_OVERLAPPEDWINDOW,
                                       GetSystemMetrics(SM_CXSCREEN) - kFrontSize,
                                       (GetSystemMetrics(SM_CYSCREEN) - kFrontSize) / 2, kFrontSize, kFrontSize,
                                       nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!front) return kFailed;
    ShowWindow(front, SW_SHOW);
    SetForegroundWindow(front);
    std::printf("front %s\n", GetForegroundWindow() == front ? "yes" : "no");
    std::fflush(stdout);
    while (!Exists(stopPath)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    DestroyWindow(front);
    return kOk;
}

bool ArgumentsFit(const char* command, int argc) {
    if (std::strcmp(command, "filter") == 0 || std::strcmp(command, "filterhost") == 0) return argc == 4;
    if (std::strcmp(command, "post") == 0) return argc >= 7 && (argc - 4) % 3 == 0;
    if (std::strcmp(command, "watch") == 0) return argc == 5 || argc == 6;
    if (std::strcmp(command, "calls") == 0) return argc == 5;
    return argc == 3;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: probe <monitor exe> wait <ms> | rows | pane | close | count | clear | memory | ping | traffic\n"
                 "       probe <monitor exe> post <main|list|pane> <message> <wParam> <lParam> ...\n"
                 "       probe <monitor exe> watch <out file> <stop file> [<row poll ms>]\n"
                 "       probe <monitor exe> calls <out file> <stop file>\n"
                 "       probe <monitor exe> filter <text shown rows contain>\n"
                 "       probe <monitor exe> filterhost <host the rows name>\n"
                 "       probe system-text <hex code>\n"
                 "       probe front <stop file>\n");
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "system-text") == 0) return PrintSystemText(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "front") == 0) return HoldFront(argv[2]);
    if (argc < 3) return Usage();
    const char* exePath = argv[1];
    const char* command = argv[2];

    if (std::strcmp(command, "wait") == 0 && argc == 4)
        return WaitForMonitor(exePath, static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
    if (!ArgumentsFit(command, argc)) return Usage();

    const HWND monitor = FindMonitor(exePath);
    if (!monitor) {
        std::fprintf(stderr, "probe: no monitor window of %s\n", exePath);
        return kFailed;
    }
    if (std::strcmp(command, "post") == 0) {
        const int result = Post(monitor, argc - 3, argv + 3);
        return result == kUsage ? Usage() : result;
    }
    if (std::strcmp(command, "rows") == 0) return PrintRows(monitor);
    if (std::strcmp(command, "pane") == 0) return PrintPane(monitor);
    if (std::strcmp(command, "close") == 0) return PostMessageA(monitor, WM_CLOSE, 0, 0) ? kOk : kFailed;
    if (std::strcmp(command, "count") == 0) return PrintCount(monitor);
    if (std::strcmp(command, "clear") == 0) return Clear(monitor);
    if (std::strcmp(command, "memory") == 0) return PrintMemory(monitor);
    if (std::strcmp(command, "ping") == 0) return Ping(monitor);
    if (std::strcmp(command, "traffic") == 0) return OpenTraffic(monitor);
    if (std::strcmp(command, "watch") == 0)
        return Watch(monitor, argv[3], argv[4], argc == 6 ? std::strtoul(argv[5], nullptr, 10) : kRowPollMs);
    if (std::strcmp(command, "filter") == 0) return Filter(monitor, argv[3]);
    if (std::strcmp(command, "filterhost") == 0) return FilterHost(monitor, argv[3]);
    if (std::strcmp(command, "calls") == 0) return WatchCalls(monitor, argv[3], argv[4]);
    return Usage();
}
