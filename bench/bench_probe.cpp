// bench_probe.cpp: watches the running monitor from another process, for the benchmark.
//
//   bench_probe wait <milliseconds>        until the monitor's window is visible
//   bench_probe pane                       prints the Diagnostics pane's text
//   bench_probe close                      posts WM_CLOSE, as the close button would
//   bench_probe rows                       prints "rows <count>", the list's row count
//   bench_probe memory                     prints "private <bytes>", the monitor's private bytes
//   bench_probe clear                      the Clear command; prints "clear_s <seconds>" once it is done
//   bench_probe watch <out file> <stop file>
//
// watch samples until the stop file exists, appending to the out file:
//   "nul <start µs> <round trip µs>"  a WM_NULL round trip to the main window, one every 100 ms
//   "rows <µs> <count>"               the list's row count, polled every 10 ms, written when it changes
// Times are wall-clock microseconds since 1970, comparable with the host's.
// Exit code 0 on success, 1 when the window is not there, 2 on a usage error.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "app/MainWindowClassName.h"
#include "diag/DiagnosticsPane.h"
#include "log/MessageList.h"
#include "res/resource.h"

namespace {

constexpr DWORD kNullIntervalMs = 100;
constexpr DWORD kRowPollMs = 10;
constexpr UINT kNullTimeoutMs = 10000;
constexpr UINT kAnswerTimeoutMs = 5000;
constexpr UINT kClearTimeoutMs = 600000;
constexpr DWORD kPollMs = 50;
constexpr int kPaneCapacity = 1 << 16;
// 100-ns intervals between 1601 and 1970.
constexpr unsigned long long kUnixEpochIn100ns = 116444736000000000ULL;

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

unsigned long long WallMicroseconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - kUnixEpochIn100ns) / 10;
}

HWND FindMonitor() {
    return FindWindowA(app::kMainWindowClassName, nullptr);
}

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
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

private:
    FILE* file_;
    std::mutex mutex_;
};

void SampleRoundTrips(HWND monitor, SampleLog& log, const std::atomic<bool>& stop) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    while (!stop) {
        const unsigned long long at = WallMicroseconds();
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        DWORD_PTR unused = 0;
        SendMessageTimeoutA(monitor, WM_NULL, 0, 0, SMTO_NORMAL, kNullTimeoutMs, &unused);
        QueryPerformanceCounter(&after);
        const unsigned long long roundTrip =
            static_cast<unsigned long long>((after.QuadPart - before.QuadPart) * 1000000 / frequency.QuadPart);
        log.Line("nul", at, roundTrip);
        const unsigned long long spentMs = roundTrip / 1000;
        if (spentMs < kNullIntervalMs) Sleep(static_cast<DWORD>(kNullIntervalMs - spentMs));
    }
}

void PollRows(HWND list, SampleLog& log, const std::atomic<bool>& stop) {
    long long last = -1;
    while (!stop) {
        DWORD_PTR count = 0;
        if (SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &count) &&
            static_cast<long long>(count) != last) {
            last = static_cast<long long>(count);
            log.Line("rows", WallMicroseconds(), count);
        }
        Sleep(kRowPollMs);
    }
}

int Watch(HWND monitor, const char* outPath, const char* stopPath) {
    const HWND list = GetDlgItem(monitor, messagelog::kMessageListId);
    SampleLog log(outPath);
    if (!list || !log.IsOpen()) return kFailed;
    std::atomic<bool> stop{false};
    std::thread roundTrips(SampleRoundTrips, monitor, std::ref(log), std::cref(stop));
    std::thread rows(PollRows, list, std::ref(log), std::cref(stop));
    while (!Exists(stopPath)) Sleep(kPollMs);
    stop = true;
    roundTrips.join();
    rows.join();
    return kOk;
}

int PrintPane(HWND monitor) {
    static char text[kPaneCapacity];
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(GetDlgItem(monitor, diag::kDiagnosticsPaneId), WM_GETTEXT, kPaneCapacity,
                             reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kAnswerTimeoutMs, &copied))
        return kFailed;
    std::fwrite(text, 1, copied, stdout);
    return kOk;
}

int PrintRows(HWND monitor) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(GetDlgItem(monitor, messagelog::kMessageListId), LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL,
                             kAnswerTimeoutMs, &count))
        return kFailed;
    std::printf("rows %llu\n", static_cast<unsigned long long>(count));
    return kOk;
}

// Wine leaves PrivateUsage 0 and gives the same figure as PagefileUsage.
int PrintMemory(HWND monitor) {
    DWORD processId = 0;
    GetWindowThreadProcessId(monitor, &processId);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return kFailed;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    const bool read =
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters) != 0;
    CloseHandle(process);
    if (!read) return kFailed;
    const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    std::printf("private %llu\n", static_cast<unsigned long long>(privateBytes));
    return kOk;
}

int TimeClear(HWND monitor) {
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    DWORD_PTR unused = 0;
    if (!SendMessageTimeoutA(monitor, WM_COMMAND, ID_VIEW_CLEAR, 0, SMTO_NORMAL, kClearTimeoutMs, &unused))
        return kFailed;
    QueryPerformanceCounter(&after);
    std::printf("clear_s %.4f\n", static_cast<double>(after.QuadPart - before.QuadPart) / frequency.QuadPart);
    return kOk;
}

int WaitForMonitor(DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const HWND monitor = FindMonitor();
        if (monitor && IsWindowVisible(monitor)) return kOk;
        if (GetTickCount64() - start >= timeoutMs) return kFailed;
        Sleep(kPollMs);
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: bench_probe wait <ms> | pane | close | rows | memory | clear | watch <out file> <stop file>\n");
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const char* command = argv[1];
    if (std::strcmp(command, "wait") == 0 && argc == 3)
        return WaitForMonitor(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));

    const HWND monitor = FindMonitor();
    if (!monitor) {
        std::fprintf(stderr, "bench_probe: no monitor window\n");
        return kFailed;
    }
    if (std::strcmp(command, "pane") == 0 && argc == 2) return PrintPane(monitor);
    if (std::strcmp(command, "close") == 0 && argc == 2)
        return PostMessageA(monitor, WM_CLOSE, 0, 0) ? kOk : kFailed;
    if (std::strcmp(command, "watch") == 0 && argc == 4) return Watch(monitor, argv[2], argv[3]);
    if (std::strcmp(command, "rows") == 0 && argc == 2) return PrintRows(monitor);
    if (std::strcmp(command, "memory") == 0 && argc == 2) return PrintMemory(monitor);
    if (std::strcmp(command, "clear") == 0 && argc == 2) return TimeClear(monitor);
    return Usage();
}
