// ReceptionTest.cpp: datagrams sent over loopback, as the Main window receives them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "app/ProcessMainWindow.h"
#include "diag/DiagnosticText.h"
#include "log/MessageList.h"
#include "net/ReceiveThread.h"
#include "res/resource.h"
#include "tests/log/RecordFeed.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

const char kFullBufferDiagnostic[] = "Received more than 4096 bytes\n";

// Letters in a repeating pattern, so a cut shows where it fell.
std::string Pattern(size_t length) {
    std::string bytes(length, ' ');
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

TEST(Reception, BackToBackDatagramsBecomeRowsInArrivalOrder) {
    RunningMainWindow main;
    constexpr int kCount = 30;
    for (int i = 0; i < kCount; ++i) SendDatagram(main.Port(), "<13>datagram " + std::to_string(i) + "\r\n");
    ASSERT_TRUE(PumpUntil([&] { return messagelog::RowCount(main.Window().MessageList()) == kCount; }));

    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ("<13>datagram " + std::to_string(i), RowMessage(main.Window(), i));
        EXPECT_EQ("127.0.0.1", RowSender(main.Window(), i));
    }
    EXPECT_EQ("", PaneText(main.Window().DiagnosticsPane()));
}

TEST(Reception, DatagramFillingTheBufferIsReportedOnceAndKeptWhole) {
    RunningMainWindow main;
    const std::string full = Pattern(4096);
    ASSERT_TRUE(main.SendAndWaitForRows(full, 1));
    ASSERT_TRUE(main.SendAndWaitForRows("after the full one", 2));

    EXPECT_EQ(full, RowMessage(main.Window(), 0));
    EXPECT_EQ("after the full one", RowMessage(main.Window(), 1));
    EXPECT_EQ(kFullBufferDiagnostic, PaneText(main.Window().DiagnosticsPane()));
}

// Cut to the buffer and reported like a full one, rather than ending reception.
TEST(Reception, DatagramLongerThanTheBufferIsCutReportedAndReceptionGoesOn) {
    RunningMainWindow main;
    const std::string tooLong = Pattern(5000);
    ASSERT_TRUE(main.SendAndWaitForRows(tooLong, 1));
    ASSERT_TRUE(main.SendAndWaitForRows("after the long one", 2));

    EXPECT_EQ(tooLong.substr(0, 4096), RowMessage(main.Window(), 0));
    EXPECT_EQ("after the long one", RowMessage(main.Window(), 1));
    EXPECT_EQ(kFullBufferDiagnostic, PaneText(main.Window().DiagnosticsPane()));
}

TEST(Reception, EmptyDatagramGivesAnEmptyRowAndReceptionGoesOn) {
    RunningMainWindow main;
    ASSERT_TRUE(main.SendAndWaitForRows("", 1));
    ASSERT_TRUE(main.SendAndWaitForRows("after the empty one", 2));

    EXPECT_EQ("", RowMessage(main.Window(), 0));
    EXPECT_EQ("after the empty one", RowMessage(main.Window(), 1));
    EXPECT_EQ("", PaneText(main.Window().DiagnosticsPane()));
}

// A UDP socket bound to the port on every local address, as another program would hold it.
class HeldPort {
public:
    explicit HeldPort(unsigned short port) : socket_(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        bound_ = bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
    }
    ~HeldPort() { closesocket(socket_); }
    bool Bound() const { return bound_; }

private:
    SOCKET socket_;
    bool bound_ = false;
};

TEST(Reception, PortAlreadyHeldIsReportedAndTheWindowKeepsWorking) {
    const long textsBefore = diag::DiagnosticTextsAlive();
    const unsigned short port = FreeUdpPort();
    HeldPort held(port);
    ASSERT_TRUE(held.Bound());
    TempFolder folder;
    app::MainWindow window(port, folder.File(L"monitor.INI").c_str());
    app::SetProcessMainWindow(&window);

    ASSERT_TRUE(window.Create());  // the init event was signalled although the set-up failed
    const StatusCode addressInUse = static_cast<StatusCode>(0x80072740);
    ExpectDiagnosticWithCode(PaneText(window.DiagnosticsPane()), "Error occurred while binding\n\r\n[0x80072740] ",
                             addressInUse);

    SendMessageA(window.Handle(), WM_COMMAND, ID_VIEW_CLEAR, 0);
    EXPECT_EQ("", PaneText(window.DiagnosticsPane()));

    DestroyWindow(window.Handle());
    EXPECT_EQ(nullptr, window.Handle());
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    app::SetProcessMainWindow(nullptr);
    EXPECT_EQ(textsBefore, diag::DiagnosticTextsAlive());
}

// Stands in for the Main window: takes each record posted to it and releases it.
LRESULT CALLBACK RecordSinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_SYSLOG_RECORD) {
        net::TakeRecord(lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateRecordSink() {
    WNDCLASSA sinkClass{};
    sinkClass.lpfnWndProc = RecordSinkProc;
    sinkClass.hInstance = GetModuleHandleA(nullptr);
    sinkClass.lpszClassName = "RecordSink";
    RegisterClassA(&sinkClass);
    return CreateWindowExA(0, "RecordSink", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// The Receive thread's poster for the quit test: holds the first record until a
// backlog of datagrams waits in the socket, and has the quit request arrive
// right after the record numbered kQuitAfter.
constexpr long kBacklog = 120;
constexpr long kQuitAfter = 20;
std::atomic<long> g_posted{0};
HANDLE g_backlogWaiting = nullptr;

BOOL PostThenQuitMidBacklog(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const long number = ++g_posted;
    if (number == 1) WaitForSingleObject(g_backlogWaiting, 10000);
    const BOOL posted = PostMessageA(window, message, wParam, lParam);
    if (number == kQuitAfter) PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    return posted;
}

// Records that are ready at once must not keep the thread from its quit request.
TEST(ReceiveThread, QuitRequestEndsReceptionAmidABacklogWithExitCodeZero) {
    const long recordsBefore = net::SyslogRecordsAlive();
    const HWND sink = CreateRecordSink();
    ASSERT_TRUE(sink);
    g_backlogWaiting = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    net::DatagramReceiver receiver;
    const HANDLE initEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    net::ReceiveThreadContext context{sink, &receiver, initEvent, FreeUdpPort(), PostThenQuitMidBacklog};
    DWORD threadId = 0;
    const HANDLE thread = CreateThread(nullptr, 0, net::ReceiveThreadProc, &context, 0, &threadId);
    ASSERT_TRUE(thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(initEvent, 10000));

    SendDatagram(context.port, "first");
    ASSERT_TRUE(HandleMessagesUntil([] { return g_posted == 1; }));
    for (long i = 1; i < kBacklog; ++i) SendDatagram(context.port, "backlog " + std::to_string(i));
    SetEvent(g_backlogWaiting);
    ASSERT_TRUE(HandleMessagesUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 10000));

    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeThread(thread, &exitCode);
    EXPECT_EQ(0u, exitCode);
    // The quit request is looked for every so many records, never missed for the whole backlog.
    EXPECT_GE(g_posted.load(), kQuitAfter);
    EXPECT_LE(g_posted.load(), kQuitAfter + static_cast<long>(net::kRecordsBetweenQuitChecks));
    static_assert(kQuitAfter + static_cast<long>(net::kRecordsBetweenQuitChecks) < kBacklog, "the backlog outlasts a check");
    HandlePostedMessages();
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());

    CloseHandle(thread);
    CloseHandle(initEvent);
    CloseHandle(g_backlogWaiting);
    DestroyWindow(sink);
}

}  // namespace
