// TestSupport.h: what the in-process tests share: ports, folders, datagrams, message pumping.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/MainWindow.h"

namespace testing_support {

// The text in the system's 8-bit code page (the test paths are plain ASCII).
std::string Narrow(const std::wstring& text);

// An INI file's bytes: a [Settings] section holding just these keys and values, in the order given.
std::string SettingsSection(std::initializer_list<std::pair<const char*, std::string>> keys);

// An INI file's bytes holding the four options.
std::string SettingsIni(int autoscroll, int toDisplay, int toFile, const std::wstring& fileName);

// The system's own text for a code, as the 8-bit pane shows it; empty where it has none.
std::string SystemText(DWORD code);

// The Capture line of a message without a comma, as Wine receives every datagram: from 127.0.0.1.
std::string LoopbackLine(const std::string& message);

// A record of the bytes from the sender, as the Receive thread makes it.
net::RecordPtr MakeRecord(const std::string& bytes, const char* sender = "10.1.2.3");

// Hands the record to the Main window's queue, as the Receive thread does; the
// window takes it at its next turn.
void QueueRecord(app::MainWindow& window, net::RecordPtr record);

// The same, and the window has taken everything queued before this returns.
void DeliverRecord(app::MainWindow& window, net::RecordPtr record);

// The records of rows 0 to count - 1 handed over as one burst, as the Receive
// thread does in a flood (one by one, each would be painted alone); true once
// the list shows them all beside the rows it showed before.
bool DeliverBurst(app::MainWindow& window, int count, const std::function<net::RecordPtr(int row)>& recordOf);


// A new, empty folder under the temporary folder; removed with its files when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The process's current folder.
std::wstring CurrentFolder();

// Makes folder the process's current folder while it lives, then restores the one before.
class CurrentFolderSet {
public:
    explicit CurrentFolderSet(const std::wstring& folder);
    ~CurrentFolderSet();
    CurrentFolderSet(const CurrentFolderSet&) = delete;
    CurrentFolderSet& operator=(const CurrentFolderSet&) = delete;

private:
    std::wstring before_;
};

// Asks the system for a port nobody holds as the socket is bound.
constexpr unsigned short kAnyFreePort = 0;

// Sends one datagram to 127.0.0.1:port.
void SendDatagram(unsigned short port, const std::string& bytes);

// Dispatches the thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Dispatches the thread's messages for the given time.
void PumpFor(DWORD ms);

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Whether another program could open the file to read it, or to append to it, now.
bool ReadableByOthers(const std::wstring& path);
bool WritableByOthers(const std::wstring& path);

// The texts the pane holds, as 8-bit text.
std::string PaneText(HWND pane);
// The first row a list-view shows.
int TopRow(HWND list);
// The header of the column a list-view numbers so (its sub-item).
std::string ColumnHeader(HWND list, int column);
// A list-view's headers as it shows them, left to right.
std::vector<std::string> ColumnHeaders(HWND list);
// What a list-view shows in a cell, asked for as any reader of the control would (up to 8,191 bytes).
std::string CellText(HWND list, int row, int column);
// The same as the control gives it to a wide reader.
std::wstring WideCellText(HWND list, int row, int column);

// A row's message and sender text as the list's store keeps them; "<no row>" past the last.
std::string RowMessage(const app::MainWindow& window, int index);
std::string RowSender(const app::MainWindow& window, int index);
// Puts 8-bit text on the clipboard; false when the clipboard could not be had.
bool SetClipboardText(HWND owner, const std::string& text);
// The clipboard's 8-bit text, or "<clipboard busy>".
std::string ClipboardText(HWND owner);
// Its Unicode text, or "<clipboard busy>".
std::wstring ClipboardUnicodeText(HWND owner);

// The Main window created on a free port with its INI in a folder of its own,
// shown, and set as the process's Main window; closed (and its quit request
// taken) when the object goes.
class RunningMainWindow {
public:
    // The INI file gets these bytes first, unless they are empty.
    explicit RunningMainWindow(const std::string& iniBytes = std::string());
    ~RunningMainWindow();

    app::MainWindow& Window() { return *window_; }
    HWND Handle() const { return window_->Handle(); }
    unsigned short Port() const { return port_; }
    const TempFolder& Folder() const { return folder_; }
    std::wstring IniPath() const { return folder_.File(L"monitor.INI"); }

    // Sends a datagram and waits until the list holds expectedRows rows.
    bool SendAndWaitForRows(const std::string& bytes, int expectedRows);

    // Closes the window and runs the message loop until the quit request.
    void Close();

private:
    TempFolder folder_;
    unsigned short port_ = 0;
    std::unique_ptr<app::MainWindow> window_;
};

}  // namespace testing_support
