// MainWindow.h: the top-level window, its children, and everything it owns.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "app/DeliveryPump.h"
#include "app/ListFinder.h"
#include "app/MatchCalls.h"
#include "app/StartFailure.h"
#include "list/MessageList.h"
#include "net/DatagramReceiver.h"
#include "net/DeliveryQueue.h"
#include "net/ReceiveThread.h"
#include "records/CaptureFile.h"
#include "records/WatchRulesFile.h"
#include "settings/OptionsEditor.h"
#include "settings/Settings.h"
#include "ui/SplitterBar.h"
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
    const list::MessageList& Messages() const { return messageList_; }
    // The list's rows, valid until Clear.
    const records::RecordStore& StoredRows() const { return messageList_.Rows(); }
    // The rows the list shows: all, or those the filter in force lets through.
    const records::ShownRows& ShownRows() const { return messageList_.Shown(); }
    HWND DiagnosticsPane() const { return pane_; }
    const ui::SplitterBar& Splitter() const { return splitter_; }
    // Present between the window's creation and destruction.
    settings::Settings* Settings() { return settings_ ? &*settings_ : nullptr; }
    bool CaptureOn() const { return captureSwitch_; }
    bool CaptureFileOpen() const { return captureFile_.IsOpen(); }
    // The port reception is bound to, once the window is created; 0 when the set-up failed.
    unsigned short ReceivingPort() const { return receiver_.BoundPort(); }
    // What OK in the Filter dialog does: the list shows the rows that pass, and the title counts them.
    void ApplyFilter(records::RowFilter filter);
    // What OK in the Watch rules dialog does: the rules colour, mark and call from now on, and are written
    // to the INI file at once.
    void SetWatchRules(std::vector<records::CountedRule> rules);
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
    void FilterBySender(WORD commandId);
    void ShowNewView();
    void ShowFilterInTitle();
    void OnTurned(DeliveryPump::Turned turned);
    void AddFilterItems(HMENU popup, int senderRow);

    // The watch rules and the marked rows (WatchCommands.cpp).
    bool OnWatchCommand(WORD commandId);
    void EditWatchRules();
    bool UseWatchRules(std::vector<records::CountedRule> rules);
    void ReadWatchRules();
    void WriteWatchRules() const;

    // Focus and DPI (FocusAndDpi.cpp).
    bool OnActivate(WORD state, bool minimised);
    void OnDpiChanged(int dpi, const RECT& suggested);

    // First in, last out: the other members may still hand it diagnostics.
    net::DeliveryQueue deliveries_;
    ui::SplitterBar splitter_;
    list::MessageList messageList_;
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
    StartFailure startFailure_;
    bool captureSwitch_ = true;
    ListFinder finder_;
    MatchCalls calls_;  // the user called back when a watch rule matches
    int contextRow_ = -1;  // the shown row whose sender the right-click menu offers
    bool titleCounts_ = false;  // the title shows the filter's counts
    ULONGLONG titleCountedAt_ = 0;
    HWND focusedChild_ = nullptr;  // while another window is active
    int dpi_ = 0;
    // Takes the deliveries to the pane, the Capture file and the list.
    DeliveryPump pump_{deliveries_, {captureSwitch_, captureFile_, messageList_, calls_, pane_, settings_}};

    unsigned short udpPort_;
    wchar_t iniPath_[MAX_PATH];
    net::ReceiveThreadContext receiveContext_{};
};

}  // namespace app
