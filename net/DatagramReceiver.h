// DatagramReceiver.h: one UDP socket with exactly one overlapped receive outstanding.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "diag/StatusCode.h"
#include "net/SyslogRecord.h"

namespace net {

constexpr unsigned short kSyslogPort = 514;
constexpr DWORD kReceiveBufferLength = 4096;
// What the socket asks the system to hold for bursts, and the least that is
// not reported as too small.
constexpr int kWantedSocketBufferBytes = 8 * 1024 * 1024;
constexpr int kLeastSocketBufferBytes = 1024 * 1024;

// What a receive step answers; a failure has been reported and ends reception.
enum class ReceiveResult { Received, Pending, Failed };

class DatagramReceiver {
public:
    DatagramReceiver() = default;
    DatagramReceiver(const DatagramReceiver&) = delete;
    DatagramReceiver& operator=(const DatagramReceiver&) = delete;
    ~DatagramReceiver() { Close(); }

    // Binds a UDP socket to the port on every local IPv4 address (port 0: one
    // the system picks). What a failed open made before its failing step stays
    // held until Close.
    StatusCode Open(unsigned short port);

    // The port the socket is bound to; 0 while none is.
    unsigned short BoundPort() const;

    // Signalled when the outstanding receive completes.
    WSAEVENT Event() const { return event_; }

    // Received with a new record, Pending while a receive is outstanding, or Failed.
    ReceiveResult ReceiveStep(RecordPtr& record);

    // Releases whatever is held; safe in any state and more than once.
    void Close();

private:
    void AskForBurstBuffer();
    ReceiveResult Completed(DWORD byteCount, RecordPtr& record);

    SOCKET socket_ = INVALID_SOCKET;
    WSAEVENT event_ = WSA_INVALID_EVENT;
    WSABUF buffer_{0, nullptr};
    // These four must stay in place while a receive is outstanding.
    sockaddr_in senderAddress_{};
    INT senderAddressLength_ = 0;
    DWORD receiveFlags_ = 0;
    WSAOVERLAPPED overlapped_{};
    bool pending_ = false;
    bool started_ = false;  // WSAStartup succeeded and awaits its WSACleanup
};

}  // namespace net
