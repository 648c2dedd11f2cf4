// MainWindow.h: the top-level window, its children, and everything it owns.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "app/CaptureSwitch.h"
#include "app/ColumnCommands.h"
#include "app/DeliveryPump.h"
#include "app/ListFinder.h"
#include "app/MatchCalls.h"
#include "app/RowsKeptNotices.h"
#include "list/MessageList.h"
#include "net/DatagramReceiver.h"
#include "net/DeliveryQueue.h"
#include "net/ReceiveThread.h"
#include "records/CaptureFile.h"
#include "records/FilterByRow.h"
#include "records/RowBook.h"
#include "records/WatchRulesFile.h"
#include "settings/OptionsEditor.h"
#include "settings/Settings.h"
#include "ui/SplitterBar.h"
#include "ui/StatusBar.h"
#include "ui/TrafficWindow.h"
#include "win/Window.h"

namespace app {

class MainWindow : public win::Window {
public:
    // The port is 514 in the program; tests pass 0, for one the system picks.
    // The INI path is where the Settings are read from and written back to.
    MainWindow(unsigned short udpPort, const wchar_t* iniPath);
    ~MainWindow() override;

    // Creates the top-level window (not yet shown); null when creation failed.
    HWND Create();

    HWND MessageList() const { return messageList_.Handle(); }
    list::MessageList& Messages() { return messageList_; }
    // The rows held, the rows shown, the watch rules.
    const records::RowBook& Book() const { return book_; }
    // The list's rows, each valid while it is held.
    const records::RecordStore& StoredRows() const { return book_.Held(); }
    // The rows the list shows: all, or those the filter in force lets through.
    const records::ShownRows& ShownRows() const { return book_.Shown(); }
    HWND DiagnosticsPane() const { return pane_; }
    const ui::SplitterBar& Splitter() const { return splitter_; }
    const ui::StatusBar& Status() const { return statusBar_; }
    const ui::TrafficWindow& Traffic() const { return traffic_; }
    // Present between the window's creation and destruction.
    settings::Settings* Settings() { return settings_ ? &*settings_ : nullptr; }
    bool CaptureOn() const { return capture_.IsOn(); }
    bool CaptureFileOpen() const { return captureFile_.IsOpen(); }
    // The port reception is bound to, once the window is created; 0 when the set-up failed.
    unsigned short ReceivingPort() const { return receiver_.BoundPort(); }
    // What OK in the Filter dialog does: the list shows the rows that pass, and the title counts them.
    void ApplyFilter(records::RowFilter filter);
    // What OK in the Watch rules dialog does: the rules colour, mark and call from now on.
    void SetWatchRules(std::vector<records::CountedRule> rules);
    // Every record handed over so far is shown and written.
    bool DeliveriesCaughtUp() const { return pump_.CaughtUp(); }
    // Where the Receive thread and the diagnostic reporter hand their items over.
    net::DeliveryQueue& Deliveries() { return deliveries_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage() override { PostQuitMessage(0); }

private:
    LRESULT OnCreate();
    void OnDestroy();
    bool OnCommand(WORD commandId);
    bool OnNotify(NMHDR& notice, LRESULT& result);
    void OnInitMenuPopup(HMENU popup);

    bool StartReceiveThread();
    void StopReceiveThread();

    void ToggleCapture();
    void Clear();
    void RunOptions();
    void RunSave();

    // Find, copy and colours over the list (ListCommands.cpp).
    bool OnListCommand(WORD commandId);
    bool OnContextMenu(HWND window, LPARAM position);
    void CopyRows();

    // The filter over the list and the title that counts its rows (FilterCommands.cpp).
    bool OnFilterCommand(WORD commandId);
    void EditFilter();
    void FilterByClickedRow(records::RowKey key, bool hide);
    void FilterByKeys(const records::RowKeys& keys, records::RowKey key, bool hide);
    void ShowNewView(bool chosen);
    void ShowFilterInTitle();
    void OnTurned(DeliveryPump::Turned turned);
    void AddFilterItems(HMENU popup, int senderRow);

    // The watch rules and the marked rows (WatchCommands.cpp).
    bool OnWatchCommand(WORD commandId);
    void EditWatchRules();
    bool UseWatchRules(std::vector<records::CountedRule> rules);
    void ReadWatchRules();
    void WriteWatchRules() const;

    // The pause, the status bar and the Traffic window (TrafficCommands.cpp).
    bool OnTrafficCommand(WORD commandId);
    void CheckTrafficItems(HMENU popup);
    void TogglePause();
    void ShowStatusBar(bool shown);

    // Focus and DPI (FocusAndDpi.cpp).
    bool OnActivate(WORD state, bool minimised);
    void OnDpiChanged(int dpi, const RECT& suggested);

    // First in, last out: the other members may still hand it diagnostics.
    net::DeliveryQueue deliveries_;
    ui::SplitterBar splitter_;
    records::RowBook book_{settings::kDefaultKeepRows};
    list::MessageList messageList_{book_};
    RowsKeptNotices rowsKeptNotices_;
    HWND pane_ = nullptr;
    std::optional<settings::Settings> settings_;
    settings::OptionsEditor options_;
    net::DatagramReceiver receiver_;
    records::CaptureFile captureFile_;
    records::WatchRulesFile watchRulesFile_;
    bool watchRulesChanged_ = false;  // since they were read: only then are they written back
    HANDLE receiveThread_ = nullptr;
    DWORD receiveThreadId_ = 0;
    HANDLE initEvent_ = nullptr;
    CaptureSwitch capture_;
    ListFinder finder_;
    ColumnCommands columns_{messageList_};
    MatchCalls calls_;  // the user called back when a watch rule matches
    std::optional<records::RowKeys> contextRow_;  // the keys of the row the right-click menu was opened on
    bool titleCounts_ = false;  // the title tells more than the program's name
    ULONGLONG titleCountedAt_ = 0;
    HWND focusedChild_ = nullptr;  // while another window is active
    int dpi_ = 0;
    // Takes the deliveries to the pane, the Capture file and the list.
    DeliveryPump pump_{deliveries_,
                       {capture_, captureFile_, book_, messageList_, calls_, rowsKeptNotices_, pane_, settings_}};
    ui::StatusBar statusBar_{{book_, messageList_, captureFile_, settings_, deliveries_}};
    // What its top lists choose is shown only, as the list's "Show only this ..." items do.
    ui::TrafficWindow traffic_{book_, [this](const records::RowKeys& keys, records::RowKey key) {
        FilterByKeys(keys, key, false);
    }};

    unsigned short udpPort_;
    wchar_t iniPath_[MAX_PATH];
    net::ReceiveThreadContext receiveContext_{};
};

}  // namespace app
