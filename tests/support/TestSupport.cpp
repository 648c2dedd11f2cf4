// TestSupport.cpp: helpers for the in-process tests.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <share.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "app/ProcessMainWindow.h"
#include "list/MessageList.h"
#include "net/DottedQuad.h"
#include "res/resource.h"
#include "win/ListView.h"

namespace testing_support {

namespace {

constexpr DWORD kClipboardWaitMs = 3000;

struct WinsockSession {
    WinsockSession() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockSession() { WSACleanup(); }
};

void EnsureWinsock() {
    static WinsockSession session;
}

std::atomic<unsigned> g_folderCount{0};

}  // namespace

std::string Narrow(const std::wstring& text) {
    char narrow[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

std::string SettingsSection(std::initializer_list<std::pair<const char*, std::string>> keys) {
    std::string ini = "[Settings]\r\n";
    for (const auto& key : keys) ini += std::string(key.first) + "=" + key.second + "\r\n";
    return ini;
}

std::string SettingsIni(int autoscroll, int toDisplay, int toFile, const std::wstring& fileName) {
    return SettingsSection({{"Autoscroll", std::to_string(autoscroll)},
                            {"ToDisplay", std::to_string(toDisplay)},
                            {"ToFile", std::to_string(toFile)},
                            {"FileName", Narrow(fileName)}});
}

std::string LoopbackLine(const std::string& message) {
    return "127.0.0.1," + message + "\r\n";
}

std::string SystemText(DWORD code) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                   nullptr, code, LANG_USER_DEFAULT, reinterpret_cast<char*>(&text), 0, nullptr);
    const std::string copy = text ? text : "";
    if (text) LocalFree(text);
    return copy;
}

// Wine hands a process id out again as soon as its process ends, and a folder
// a process could not delete would hand its files to the next one: a folder
// that is already there is passed over.
TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    const std::wstring stem = std::wstring(base) + L"monitor-test-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    do {
        path_ = stem + std::to_wstring(g_folderCount++);
    } while (!CreateDirectoryW(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempFolder::~TempFolder() {
    std::vector<wchar_t> from(path_.begin(), path_.end());
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&operation);
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

CurrentFolderSet::CurrentFolderSet(const std::wstring& folder) : before_(CurrentFolder()) {
    SetCurrentDirectoryW(folder.c_str());
}

CurrentFolderSet::~CurrentFolderSet() {
    SetCurrentDirectoryW(before_.c_str());
}

void SendDatagram(unsigned short port, const std::string& bytes) {
    EnsureWinsock();
    const SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(sender, bytes.data(), static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&to),
           sizeof to);
    closesocket(sender);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

net::RecordPtr MakeRecord(const std::string& bytes, const char* sender) {
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = inet_addr(sender);
    return net::MakeSyslogRecord(bytes.data(), bytes.size(), from);
}

void QueueRecord(app::MainWindow& window, net::RecordPtr record) {
    ASSERT_TRUE(record);
    ASSERT_TRUE(window.Deliveries().Push(std::move(record)));
}

void DeliverRecord(app::MainWindow& window, net::RecordPtr record) {
    QueueRecord(window, std::move(record));
    SendMessageA(window.Handle(), UM_DELIVERIES_WAITING, 0, 0);
}

bool DeliverBurst(app::MainWindow& window, int count, const std::function<net::RecordPtr(int row)>& recordOf) {
    const win::ListView list(window.MessageList());
    const int before = list.Count();
    for (int row = 0; row < count; ++row) QueueRecord(window, recordOf(row));
    SendMessageA(window.Handle(), UM_DELIVERIES_WAITING, 0, 0);
    return PumpUntil([&] { return list.Count() == before + count && window.DeliveriesCaughtUp(); });
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool ReadableByOthers(const std::wstring& path) {
    FILE* const reader = _wfsopen(path.c_str(), L"r", _SH_DENYNO);
    if (reader) fclose(reader);
    return reader != nullptr;
}

bool WritableByOthers(const std::wstring& path) {
    FILE* const writer = _wfsopen(path.c_str(), L"a", _SH_DENYNO);
    if (writer) fclose(writer);
    return writer != nullptr;
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfsopen(path.c_str(), L"rb", _SH_DENYNO);
    if (!file) return bytes;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

namespace {

// Tests side by side share the desktop's clipboard, and Wine's desktop process
// opens it for a moment after each change: a busy clipboard is waited for.
bool OpenClipboardWhenFree(HWND owner) {
    return PumpUntil([owner] { return OpenClipboard(owner) != FALSE; }, kClipboardWaitMs);
}

}  // namespace

bool SetClipboardText(HWND owner, const std::string& text) {
    if (!OpenClipboardWhenFree(owner)) return false;
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    bool placed = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_TEXT, memory) != nullptr;
        if (!placed) GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

std::string ClipboardText(HWND owner) {
    std::string text;
    if (!OpenClipboardWhenFree(owner)) return "<clipboard busy>";
    if (const HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::wstring ClipboardUnicodeText(HWND owner) {
    std::wstring text;
    if (!OpenClipboardWhenFree(owner)) return L"<clipboard busy>";
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string PaneText(HWND pane) {
    const int length = GetWindowTextLengthA(pane);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(pane, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string ColumnHeader(HWND list, int column) {
    char header[64] = {};
    LVCOLUMNA asked{};
    asked.mask = LVCF_TEXT;
    asked.pszText = header;
    asked.cchTextMax = sizeof header;
    SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&asked));
    return header;
}

std::vector<std::string> ColumnHeaders(HWND list) {
    const int count = Header_GetItemCount(ListView_GetHeader(list));
    std::vector<int> order(static_cast<size_t>(count));
    ListView_GetColumnOrderArray(list, count, order.data());
    std::vector<std::string> headers;
    for (const int index : order) headers.push_back(ColumnHeader(list, index));
    return headers;
}

int TopRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
}

std::string CellText(HWND list, int row, int column) {
    constexpr int kCellCapacity = 8192;
    std::string text(kCellCapacity, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = &text[0];
    item.cchTextMax = kCellCapacity;
    const LRESULT length =
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::wstring WideCellText(HWND list, int row, int column) {
    constexpr int kCellCapacity = 8192;
    std::wstring text(kCellCapacity, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = &text[0];
    item.cchTextMax = kCellCapacity;
    const LRESULT length =
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text.resize(static_cast<size_t>(length));
    return text;
}

// The system picks the port as the socket is bound, so no other test process can take it in between.
RunningMainWindow::RunningMainWindow(const std::string& iniBytes) {
    if (!iniBytes.empty()) WriteFileBytes(IniPath(), iniBytes);
    window_ = std::make_unique<app::MainWindow>(kAnyFreePort, IniPath().c_str());
    app::SetProcessMainWindow(window_.get());
    if (window_->Create()) ShowWindow(window_->Handle(), SW_SHOWNORMAL);
    port_ = window_->ReceivingPort();
}

RunningMainWindow::~RunningMainWindow() {
    Close();
    app::SetProcessMainWindow(nullptr);
}

bool RunningMainWindow::SendAndWaitForRows(const std::string& bytes, int expectedRows) {
    SendDatagram(port_, bytes);
    return PumpUntil([&] { return win::ListView(window_->MessageList()).Count() >= expectedRows; });
}

void RunningMainWindow::Close() {
    if (!window_->Handle()) return;
    DestroyWindow(window_->Handle());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        DispatchMessageA(&msg);
    }
}

namespace {

bool HasRow(const app::MainWindow& window, int index) {
    return index >= 0 && static_cast<size_t>(index) < window.StoredRows().Count();
}

}  // namespace

std::string RowMessage(const app::MainWindow& window, int index) {
    if (!HasRow(window, index)) return "<no row>";
    const records::StoredRow row = window.StoredRows().Row(static_cast<size_t>(index));
    // The length kept, not the terminator, so that both must be right.
    return std::string(row.message, row.messageLength);
}

std::string RowSender(const app::MainWindow& window, int index) {
    if (!HasRow(window, index)) return "<no row>";
    char sender[net::kDottedQuadCapacity];
    net::FormatDottedQuad(window.StoredRows().Row(static_cast<size_t>(index)).senderAddress, sender);
    return sender;
}

}  // namespace testing_support
