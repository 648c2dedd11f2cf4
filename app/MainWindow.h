// MainWindow.h: the top-level window, its children, and everything it owns.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "app/CaptureSwitch.h"
#include "app/ColumnCommands.h"
#include "app/DeliveryPump.h"
#include "app/FilterCommands.h"
#include "app/ListFinder.h"
#include "app/MatchCalls.h"
#include "app/Reception.h"
#include "app/RowsKeptNotices.h"
#include "app/StartFailure.h"
#include "app/WatchCommands.h"
#include "app/WindowTitle.h"
#include "list/MessageList.h"
#include "net/DeliveryQueue.h"
#include "records/CaptureFile.h"
#include "records/FilterByRow.h"
#include "records/RowBook.h"
#include "settings/Settings.h"
#include "ui/OptionsEditor.h"
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

    // Creates the top-level window (not yet shown); null when creation failed, and then StartFailed says why.
    HWND Create();
    const StartFailure& StartFailed() const { return startFailure_; }

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
    unsigned short ReceivingPort() const { return reception_.BoundPort(); }
    // What OK in the Filter dialog does: the list shows the rows that pass, and the title counts them.
    void ApplyFilter(records::RowFilter filter);
    // What OK in the Watch rules dialog does: the rules colour, mark and call from now on, and are written
    // to the INI file at once.
    void SetWatchRules(std::vector<records::CountedRule> rules) { watch_.Set(std::move(rules), iniPath_); }
    // The modeless dialog open over the window (Find), whose keys the message loop hands it; null when none is.
    HWND ModelessDialog() const { return finder_.Dialog(); }
    // Every record handed over so far is shown and written.
    bool DeliveriesCaughtUp() const { return pump_.CaughtUp(); }
    // Where the Receive thread and the diagnostic reporter hand their items over.
    net::DeliveryQueue& Deliveries() { return deliveries_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage() override { PostQuitMessage(0); }

private:
    LRESULT OnCreate();
    LRESULT CannotCreate(const wchar_t* what, StatusCode status);
    void OnDestroy();
    bool OnCommand(WORD commandId);
    bool OnNotify(NMHDR& notice, LRESULT& result);
    void OnInitMenuPopup(HMENU popup);

    void ToggleCapture();
    void Clear();
    void RunOptions();
    void RunSave();

    // Find, copy and colours over the list (ListCommands.cpp).
    bool OnListCommand(WORD commandId);
    bool OnContextMenu(HWND window, LPARAM position);
    void CopyRows();

    // The filter's commands, and the title that counts the rows they show.
    bool OnFilterCommand(WORD commandId);
    bool ShowsNewest() const { return settings_ && settings_->Autoscroll; }
    TitleFacts Title() const;
    void ShowTitle();
    void OnTurned(DeliveryPump::Turned turned);
    void TakeDeliveries();


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
    ui::OptionsEditor options_;
    records::CaptureFile captureFile_;
    StartFailure startFailure_;
    CaptureSwitch capture_;
    ListFinder finder_;
    ColumnCommands columns_{messageList_};
    MatchCalls calls_;  // the user called back when a watch rule matches
    WatchCommands watch_{book_, messageList_, calls_};
    FilterCommands filters_{book_, messageList_};
    WindowTitle title_;
    HWND focusedChild_ = nullptr;  // while another window is active
    int dpi_ = 0;
    // Takes the deliveries to the pane, the Capture file, the book, the list and the calls.
    DeliveryPump pump_{deliveries_};
    ui::StatusBar statusBar_{{book_, messageList_, captureFile_, settings_, deliveries_}};
    // What its top lists choose is shown only, as the list's "Show only this ..." items do.
    ui::TrafficWindow traffic_{book_, [this](const records::RowKeys& keys, records::RowKey key) {
        filters_.ShowOnly(keys, key, ShowsNewest());
        ShowTitle();
    }};

    wchar_t iniPath_[MAX_PATH];
    Reception reception_;  // last made, first to go: its thread hands items to the queue till it ends
};

}  // namespace app
