// ReceptionTest.cpp: datagrams sent over loopback, as the Main window receives them.
#include <gtest/gtest.h>

#include <string>

#include "app/ProcessMainWindow.h"
#include "diag/DiagnosticReporter.h"
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

// A datagram that fills the 4096-byte buffer is kept whole and reported once; a
// longer one is cut to the buffer and reported alike, rather than ending
// reception; an empty one is an empty row. Reception goes on after each.
TEST(Reception, DatagramsAtTheBuffersSizeAndPastItAreReportedAndEmptyOnesAreRowsAndReceptionGoesOn) {
    RunningMainWindow main;
    const struct {
        std::string sent, shown;
        const char* pane;
    } datagrams[] = {
        {Pattern(4096), Pattern(4096), kFullBufferDiagnostic},
        {Pattern(5000), Pattern(4096), kFullBufferDiagnostic},
        {"", "", ""},
    };
    int rows = 0;
    for (const auto& datagram : datagrams) {
        SCOPED_TRACE(datagram.sent.size());
        ASSERT_TRUE(main.SendAndWaitForRows(datagram.sent, ++rows));
        ASSERT_TRUE(main.SendAndWaitForRows("after it", ++rows));
        EXPECT_EQ(datagram.shown, RowMessage(main.Window(), rows - 2));
        EXPECT_EQ("after it", RowMessage(main.Window(), rows - 1));
        EXPECT_EQ(datagram.pane, PaneText(main.Window().DiagnosticsPane()));
        SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_CLEAR, 0);
        rows = 0;
    }
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

// A UDP socket bound on every local address to a port the system picks, as another program would hold it.
class HeldPort {
public:
    HeldPort() {
        WSADATA winsock;
        WSAStartup(MAKEWORD(2, 2), &winsock);
        socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(kAnyFreePort);
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        int length = sizeof local;
        if (bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0 &&
            getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length) == 0)
            port_ = ntohs(local.sin_port);
    }
    ~HeldPort() {
        closesocket(socket_);
        WSACleanup();
    }
    unsigned short Port() const { return port_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    unsigned short port_ = 0;
};

TEST(Reception, PortAlreadyHeldIsReportedAndTheWindowKeepsWorking) {
    const long textsBefore = diag::DiagnosticTextsAlive();
    HeldPort held;
    ASSERT_NE(0, held.Port());
    TempFolder folder;
    app::MainWindow window(held.Port(), folder.File(L"monitor.INI").c_str());
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

// Every other record cannot be made, as when memory runs out.
net::RecordPtr MakeEveryOtherRecord(const char* bytes, size_t count, const sockaddr_in& sender) {
    static int made = 0;
    return made++ % 2 ? nullptr : net::MakeSyslogRecord(bytes, count, sender);
}

TEST(ReceiveThread, ARecordThatCannotBeMadeIsCountedAndReceptionGoesOn) {
    const long recordsBefore = net::SyslogRecordsAlive();
    {
        net::DeliveryQueue deliveries;
        net::DatagramReceiver receiver(MakeEveryOtherRecord);
        ASSERT_EQ(S_OK, receiver.Open(kAnyFreePort));
        const unsigned short port = receiver.BoundPort();
        for (const char* text : {"one", "two", "three", "four", "five"}) SendDatagram(port, text);

        const net::ReceiveThreadContext context{&deliveries, &receiver, nullptr, port};
        EXPECT_EQ(net::DrainEnd::Pending, net::Drain(context));
        net::DeliveryBatch batch;
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(4u, batch.size());
        EXPECT_STREQ("one", batch[0].record->message);
        EXPECT_EQ(L"Records are being dropped: the display fell behind or memory ran out\n",
                  std::wstring(batch[1].text.get()));
        EXPECT_STREQ("three", batch[2].record->message);
        EXPECT_STREQ("five", batch[3].record->message);
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(1u, batch.size());
        EXPECT_EQ(L"Records dropped: 2, diagnostics dropped: 0 (the display fell behind or memory ran out)\n",
                  std::wstring(batch[0].text.get()));
    }
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

// Full datagrams waiting in the socket complete at once, a lone one after
// waiting: each gives its diagnostic just before its record, whichever way it completes.
TEST(ReceiveThread, EachFullDatagramGivesOneDiagnosticBeforeItsRecord) {
    constexpr int kWaiting = 200;  // well within the socket's buffer
    constexpr int kOneByOne = 20;
    const std::string full = Pattern(4096);
    net::DeliveryQueue deliveries;
    diag::SetDiagnosticSink(&deliveries);
    net::DatagramReceiver receiver;
    ASSERT_EQ(S_OK, receiver.Open(kAnyFreePort));
    const unsigned short port = receiver.BoundPort();
    const net::ReceiveThreadContext context{&deliveries, &receiver, nullptr, port};
    for (int i = 0; i < kWaiting; ++i) SendDatagram(port, full);
    int handed = 0;
    net::DeliveryBatch batch;
    auto expectPairs = [&] {
        deliveries.TakeAllOrArm(batch);
        ASSERT_EQ(0u, batch.size() % 2);
        for (size_t i = 0; i < batch.size(); i += 2, ++handed) {
            ASSERT_TRUE(batch[i].text) << "pair " << handed;
            EXPECT_EQ(L"Received more than 4096 bytes\n", std::wstring(batch[i].text.get()));
            ASSERT_TRUE(batch[i + 1].record) << "pair " << handed;
            EXPECT_EQ(full, batch[i + 1].record->message);
        }
    };
    EXPECT_EQ(net::DrainEnd::Pending, net::Drain(context));
    expectPairs();
    EXPECT_EQ(kWaiting, handed);
    for (int i = 0; i < kOneByOne; ++i) {
        SendDatagram(port, full);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(receiver.Event(), 5000));
        EXPECT_EQ(net::DrainEnd::Pending, net::Drain(context));
    }
    expectPairs();
    EXPECT_EQ(kWaiting + kOneByOne, handed);
    diag::SetDiagnosticSink(nullptr);
}

// Records that are ready at once must not keep the thread from its quit request.
TEST(ReceiveThread, QuitRequestEndsADrainAmidABacklog) {
    constexpr long kBacklog = 120;
    static_assert(net::kRecordsBetweenQuitChecks < kBacklog, "the backlog outlasts a check");
    const long recordsBefore = net::SyslogRecordsAlive();
    {
        net::DeliveryQueue deliveries;
        net::DatagramReceiver receiver;
        ASSERT_EQ(S_OK, receiver.Open(kAnyFreePort));
        const unsigned short port = receiver.BoundPort();
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

// Datagrams that trickle in, a few to each drain, wake the thread again and
// again: it still looks at its queue between them and ends on the quit request.
TEST(ReceiveThread, QuitRequestEndsReceptionWhileDatagramsTrickleIn) {
    const long recordsBefore = net::SyslogRecordsAlive();
    {
        net::DeliveryQueue deliveries;
        net::DatagramReceiver receiver;
        const HANDLE initEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        net::ReceiveThreadContext context{&deliveries, &receiver, initEvent, kAnyFreePort};
        DWORD threadId = 0;
        const HANDLE thread = CreateThread(nullptr, 0, net::ReceiveThreadProc, &context, 0, &threadId);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(initEvent, 5000));
        {
            Flood trickle(receiver.BoundPort(), 5);
            ASSERT_TRUE(PumpUntil([&] { return deliveries.HasWaiting(); }));  // the flow has begun
            PostThreadMessageA(threadId, WM_QUIT, 0, 0);
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000)) << "the thread never saw its quit request";
        }
        WaitForSingleObject(thread, 5000);  // once quiet, the thread finds the request in any case
        CloseHandle(thread);
        CloseHandle(initEvent);
    }
    EXPECT_EQ(recordsBefore, net::SyslogRecordsAlive());
}

}  // namespace
