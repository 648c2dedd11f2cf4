// ReceptionTest.cpp: datagrams sent over loopback, as the Main window receives them.
#include <gtest/gtest.h>

#include <string>

#include "app/ProcessMainWindow.h"
#include "diag/DiagnosticText.h"
#include "list/MessageList.h"
#include "net/GrantedReceiveBuffer.h"
#include "net/ReceiveThread.h"
#include "res/resource.h"
#include "tests/list/RecordFeed.h"
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
    ASSERT_TRUE(PumpUntil([&] { return win::ListView(main.Window().MessageList()).Count() == kCount; }));

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

// Under Wine, Winsock reads back whatever size was asked for; what counts is
// what the kernel granted, which never exceeds twice its cap.
TEST(Reception, TheReceiveBufferReadsAsGrantedNotAsAskedFor) {
    WSADATA winsock;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &winsock));
    const SOCKET probe = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const int askedFor = 1 << 30;
    setsockopt(probe, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&askedFor), sizeof askedFor);
    const int granted = net::GrantedReceiveBuffer(probe);
    closesocket(probe);
    WSACleanup();
    EXPECT_GT(granted, 0);
    EXPECT_LT(granted, askedFor);
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

// Records that are ready at once must not keep the thread from its quit request.
TEST(ReceiveThread, QuitRequestEndsADrainAmidABacklog) {
    constexpr long kBacklog = 120;
    static_assert(net::kRecordsBetweenQuitChecks < kBacklog, "the backlog outlasts a check");
    const long recordsBefore = net::SyslogRecordsAlive();
    {
        net::DeliveryQueue deliveries;
        net::DatagramReceiver receiver;
        const unsigned short port = FreeUdpPort();
        ASSERT_EQ(S_OK, receiver.Open(port));
        for (long i = 0; i < kBacklog; ++i) SendDatagram(port, "backlog " + std::to_string(i));

        // The drain runs on this thread here, so the quit request is this thread's.
        PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
        const net::ReceiveThreadContext context{&deliveries, &receiver, nullptr, port};
        EXPECT_EQ(net::DrainEnd::QuitRequested, net::Drain(context));

        net::DeliveryBatch batch;
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(net::kRecordsBetweenQuitChecks, batch.size());
        for (size_t i = 0; i < batch.size(); ++i)
            EXPECT_STREQ(("backlog " + std::to_string(i)).c_str(), batch[i].record->message);
        // The rest still waits in the socket, in order, for the next drain.
        EXPECT_EQ(net::DrainEnd::Pending, net::Drain(context));
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(static_cast<size_t>(kBacklog) - net::kRecordsBetweenQuitChecks, batch.size());
        for (size_t i = 0; i < batch.size(); ++i)
            EXPECT_STREQ(("backlog " + std::to_string(i + net::kRecordsBetweenQuitChecks)).c_str(),
                         batch[i].record->message);
    }
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

}  // namespace
