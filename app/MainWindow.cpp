// MainWindow.cpp: the Main window's creation, destruction and message map.
#include "app/MainWindow.h"
#include "app/MainWindowClassName.h"

#include <commctrl.h>

#include <cwchar>

#include "app/PumpingWait.h"
#include "app/UserMessages.h"
#include "diag/DiagnosticReporter.h"
#include "diag/DiagnosticsPane.h"
#include "log/MessageList.h"
#include "log/RecordArrival.h"
#include "res/resource.h"
#include "ui/RecordView.h"
#include "win/Dpi.h"

namespace app {

namespace {

constexpr int kSplitNumerator = 875;  // the list takes this many thousandths of the client height
constexpr int kSplitDenominator = 1000;

win::WindowClass MainWindowClass() {
    const HICON icon = LoadIconA(win::ModuleInstance(), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    return {kMainWindowClassName,
            CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
            icon,
            icon,
            LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)),  // IDC_ARROW
            MAKEINTRESOURCEA(IDR_MAINFRAME)};
}

}  // namespace

MainWindow::MainWindow(unsigned short udpPort, const wchar_t* iniPath)
    : receiver_(std::make_unique<net::DatagramReceiver>()), udpPort_(udpPort) {
    wcsncpy(iniPath_, iniPath, settings::kPathCapacity - 1);
    iniPath_[settings::kPathCapacity - 1] = L'\0';
}

MainWindow::~MainWindow() {
    if (Handle()) DestroyWindow(Handle());
}

HWND MainWindow::Create() {
    return win::Window::Create(MainWindowClass(),
                               {nullptr, kMainWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr});
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
        splitter_.Layout(LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_DESTROY:
        OnDestroy();
        return true;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return true;
    case UM_SYSLOG_RECORD:
        OnSyslogRecord(lParam);
        return true;
    case UM_DIAGNOSTIC_TEXT:
        OnDiagnosticText(lParam);
        return true;
    case WM_CONTEXTMENU:
        return OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    case WM_ACTIVATE:
        return OnActivate(LOWORD(wParam), HIWORD(wParam) != 0);
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    default:
        if (message != finder_.DialogMessage()) return false;
        finder_.OnDialogMessage(Handle(), list_, *reinterpret_cast<const FINDREPLACEA*>(lParam));
        return true;
    }
}

// Builds the children in a fixed order, reads the Settings, opens the Capture
// file and starts reception; the set-up's diagnostics are in the pane before
// the window is first shown.
LRESULT MainWindow::OnCreate() {
    RECT client;
    GetClientRect(Handle(), &client);
    const int split = client.bottom * kSplitNumerator / kSplitDenominator;
    const int width = client.right - client.left;

    list_ = messagelog::CreateMessageList(Handle(), client.left, client.top, width, split - client.top);
    if (!list_) return -1;
    pane_ = diag::CreateDiagnosticsPane(Handle(), client.left, split, width, client.bottom - split);
    if (!pane_) return -1;
    dpi_ = win::WindowDpi(Handle());
    splitter_.Create(Handle(), list_, pane_);
    messagelog::SetUpMessageListColumns(list_);

    settings_ = std::make_unique<settings::Settings>(iniPath_);
    captureFile_.OpenIfWanted(*settings_);

    initEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!initEvent_) {
        diag::Report(StatusFromError(static_cast<long>(GetLastError())), L"Cannot create the init event\r\n");
        return 0;
    }
    const bool started = StartReceiveThread();
    if (started) PumpingWait(initEvent_);
    CloseHandle(initEvent_);
    initEvent_ = nullptr;
    return started ? 1 : -1;
}

bool MainWindow::StartReceiveThread() {
    receiveContext_ = {Handle(), receiver_.get(), initEvent_, udpPort_, PostMessageA};
    receiveThread_ = CreateThread(nullptr, 0, net::ReceiveThreadProc, &receiveContext_, 0, &receiveThreadId_);
    if (receiveThread_) return true;
    diag::Report(StatusFromError(static_cast<long>(GetLastError())), L"Cannot create the thread\r\n");
    return false;
}

// Stops reception, then closes the Capture file and writes the Settings back.
void MainWindow::OnDestroy() {
    finder_.CloseDialog();
    StopReceiveThread();
    captureFile_.Close();
    settings_.reset();
}

void MainWindow::StopReceiveThread() {
    if (!receiveThread_) return;
    PostThreadMessageA(receiveThreadId_, WM_QUIT, 0, 0);
    PumpingWait(receiveThread_);
    CloseHandle(receiveThread_);
    receiveThread_ = nullptr;
    // The thread may have posted its last records just before it ended; they
    // still belong in the list and the Capture file.
    HandleQueuedDeliveries();
}

void MainWindow::HandleQueuedDeliveries() {
    MSG msg;
    while (PeekMessageA(&msg, Handle(), UM_DIAGNOSTIC_TEXT, UM_SYSLOG_RECORD, PM_REMOVE))
        DispatchMessageA(&msg);
}

bool MainWindow::OnNotify(NMHDR& notice, LRESULT& result) {
    if (notice.idFrom != static_cast<UINT_PTR>(messagelog::kMessageListId)) return false;
    if (notice.code == static_cast<UINT>(NM_CUSTOMDRAW)) return OnListCustomDraw(notice, result);
    int rowDoubleClicked = -1;
    const bool handled = messagelog::HandleMessageListNotice(notice, result, rowDoubleClicked);
    // A double-clicked row's record is shown whole; it stays the row's.
    if (rowDoubleClicked >= 0)
        if (const net::SyslogRecord* record = messagelog::RecordAtRow(list_, rowDoubleClicked))
            ui::ShowRecordView(Handle(), *record);
    return handled;
}

void MainWindow::OnSyslogRecord(LPARAM lParam) {
    net::RecordPtr record = net::TakeRecord(lParam);
    if (!settings_) return;  // the window is past its destruction handler
    MSG next;
    const bool moreQueued =
        PeekMessageA(&next, Handle(), UM_SYSLOG_RECORD, UM_SYSLOG_RECORD, PM_NOREMOVE | PM_NOYIELD) != FALSE;
    recordArrival_.Arrive(std::move(record),
                          {captureSwitch_ != 0, captureFile_, list_, *settings_, moreQueued});
}

void MainWindow::OnDiagnosticText(LPARAM text) {
    diag::AppendDiagnostic(pane_, diag::TakeDiagnosticText(text));
}

}  // namespace app
