// MainWindow.cpp: the Main window's creation, destruction and message map.
#include "app/MainWindow.h"
#include "app/MainWindowClassName.h"

#include <commctrl.h>

#include <cwchar>

#include "diag/DiagnosticReporter.h"
#include "diag/DiagnosticsPane.h"
#include "list/MessageList.h"
#include "res/resource.h"
#include "ui/RecordView.h"
#include "win/Dpi.h"

namespace app {

namespace {

win::WindowClass MainWindowClass() {
    const HICON icon = LoadIconA(win::ModuleInstance(), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    return {kMainWindowClassName,
            CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
            icon,
            icon,
            LoadCursor(nullptr, IDC_ARROW),
            MAKEINTRESOURCEA(IDR_MAINFRAME)};
}

}  // namespace

MainWindow::MainWindow(unsigned short udpPort, const wchar_t* iniPath)
    : reception_(deliveries_, udpPort) {
    wcsncpy(iniPath_, iniPath, MAX_PATH - 1);
    iniPath_[MAX_PATH - 1] = L'\0';
}

MainWindow::~MainWindow() {
    if (Handle()) DestroyWindow(Handle());
}

HWND MainWindow::Create() {
    const HWND window = win::Window::Create(MainWindowClass(),
                                            {nullptr, kMainWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                             WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, CW_USEDEFAULT, CW_USEDEFAULT,
                                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr});
    if (!window && !startFailure_.what) startFailure_ = {L"Cannot create the main window", LastStatus()};
    return window;
}

bool MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_CREATE:
        result = OnCreate();
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lParam), result);
    case WM_SIZE:
        // The status bar, when shown, takes the client area's bottom; the rest lies above it.
        splitter_.SetReservedBottom(statusBar_.Layout());
        splitter_.Layout(LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_DESTROY:
        OnDestroy();
        return true;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return true;
    // Neither carries anything: whoever posts them, the UI only looks at its own queue.
    case UM_DELIVERIES_WAITING:
        TakeDeliveries();
        return true;
    case WM_TIMER:
        if (calls_.IsTimer(wParam)) {
            calls_.OnTimer(book_.Rules(), GetTickCount64());
            return true;
        }
        if (statusBar_.IsTimer(wParam)) {
            statusBar_.Refresh(false);
            return true;
        }
        if (!pump_.IsTimer(wParam)) return false;
        TakeDeliveries();
        return true;
    case WM_CONTEXTMENU:
        return columns_.OnContextMenu(Handle(), reinterpret_cast<HWND>(wParam), lParam) ||
               OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    case WM_DRAWITEM: {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw.CtlType != ODT_LISTVIEW || draw.hwndItem != messageList_.Handle()) return false;
        messageList_.PaintRow(draw, settings_ && settings_->Colours);
        result = TRUE;
        return true;
    }
    // The list's cells are given wide, so that each message is shown as its sender wrote it.
    case WM_NOTIFYFORMAT:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) != IDC_MESSAGE_LIST) return false;
        result = NFR_UNICODE;
        return true;
    // A click on the icon; from anybody else it can only bring the window to the front.
    case UM_NOTIFY_ICON:
        calls_.OnIconMessage(wParam, lParam);
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) calls_.OnActivated();
        return OnActivate(LOWORD(wParam), HIWORD(wParam) != 0);
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    default:
        if (calls_.OnShellRestarted(message)) return true;
        if (message != finder_.DialogMessage()) return false;
        finder_.OnDialogMessage(Handle(), messageList_, lParam);
        return true;
    }
}

// Builds the children in a fixed order, reads the Settings, opens the Capture
// file and starts reception; the set-up's diagnostics are in the pane before
// the window is first shown.
LRESULT MainWindow::OnCreate() {
    pump_.Start(Handle(), UM_DELIVERIES_WAITING);
    RECT client;
    GetClientRect(Handle(), &client);
    const int split = ui::StartListBottom(client.bottom);
    const int width = client.right - client.left;

    if (!messageList_.Create(Handle(), client.left, client.top, width, split - client.top))
        return CannotCreate(L"Cannot create the message list", LastStatus());
    pane_ = diag::CreateDiagnosticsPane(Handle(), client.left, split, width, client.bottom - split);
    if (!pane_) return CannotCreate(L"Cannot create the diagnostics pane", LastStatus());
    dpi_ = win::WindowDpi(Handle());
    splitter_.Create(Handle(), messageList_.Handle(), pane_);
    messageList_.SetUpColumns();

    settings_.emplace();
    settings_->Load(iniPath_);
    messageList_.ShowColumns(settings_->Columns);
    book_.SetKeepRows(settings_->KeepRows);
    calls_.Start(Handle());
    watch_.Read(iniPath_);
    captureFile_.OpenIfWanted(*settings_);
    if (settings_->StatusBar.value_or(0)) ShowStatusBar(true);

    switch (reception_.Start(startFailure_)) {
    case Reception::Started::Receiving:
        return 1;
    case Reception::Started::WithoutReception:
        return 0;
    default:
        return -1;
    }
}

TitleFacts MainWindow::Title() const {
    TitleFacts facts;
    facts.filterInForce = book_.Shown().InForce();
    facts.shownRows = book_.Shown().Count();
    facts.heldRows = book_.Held().Count();
    facts.paused = messageList_.Paused();
    facts.newWhilePaused = messageList_.NewWhilePaused();
    facts.captureOff = !capture_.IsOn();
    return facts;
}

void MainWindow::ShowTitle() {
    title_.Show(Handle(), Title());
}

// During a flood the title's counts follow the list's catch-ups, at most
// every kLongestPendingMs, and exactly when it ends. The status bar counts
// the book, so it follows every turn, even between a torrent's catch-ups, at
// most every ui::StatusBar::kShortestIntervalMs.
void MainWindow::OnTurned(DeliveryPump::Turned turned) {
    const bool ended = turned == DeliveryPump::Turned::Idle;
    statusBar_.Refresh(ended);
    if (turned == DeliveryPump::Turned::HoldingBack) return;
    title_.ShowAfterTurn(Handle(), Title(), ended, DeliveryPump::kLongestPendingMs);
}

// A turn of the burst policy, between the window's creation and destruction,
// while there are Settings for the records to follow.
void MainWindow::TakeDeliveries() {
    if (!settings_) return;
    OnTurned(pump_.Turn({capture_, captureFile_, book_, messageList_, calls_, rowsKeptNotices_, pane_, *settings_}));
}

// The window goes with its pane, so what failed is kept for a message box.
LRESULT MainWindow::CannotCreate(const wchar_t* what, StatusCode status) {
    startFailure_ = {what, status};
    return -1;
}

// Stops reception, then closes the Capture file and writes the Settings back.
void MainWindow::OnDestroy() {
    calls_.Stop();
    finder_.CloseDialog();
    traffic_.Close();
    pump_.Close();
    reception_.Stop();
    // The thread's last records still belong in the Capture file.
    pump_.Finish(capture_, captureFile_);
    captureFile_.Close();
    if (settings_) {
        settings_->Columns = messageList_.Columns();
        if (traffic_.LastPlace()) settings_->TrafficWindow = traffic_.LastPlace();
        settings_->Save(iniPath_);
        watch_.Write(iniPath_);
    }
    settings_.reset();
}

bool MainWindow::OnNotify(NMHDR& notice, LRESULT& result) {
    if (notice.idFrom != static_cast<UINT_PTR>(IDC_MESSAGE_LIST)) return false;
    int rowDoubleClicked = -1;
    const bool colours = settings_ && settings_->Colours;
    const bool handled = messageList_.HandleNotice(notice, colours, result, rowDoubleClicked);
    // A double-clicked row is shown whole.
    if (rowDoubleClicked >= 0 && static_cast<size_t>(rowDoubleClicked) < book_.Shown().Count())
        ui::ShowRecordView(Handle(), book_.Shown().Row(static_cast<size_t>(rowDoubleClicked)));
    return handled;
}

}  // namespace app
