// DatagramReceiver.cpp: opening the socket, the receive step, and closing.
#include "net/DatagramReceiver.h"

#include <cstdlib>

#include "diag/DiagnosticReporter.h"
#include "net/GrantedReceiveBuffer.h"

namespace net {

namespace {

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

StatusCode LastSocketStatus() {
    return StatusFromError(WSAGetLastError());
}

StatusCode ReportFailure(const wchar_t* text) {
    const StatusCode status = LastSocketStatus();
    diag::Report(status, text);
    return status;
}

}  // namespace

StatusCode DatagramReceiver::Open(unsigned short port) {
    WSADATA data;
    const int startup = WSAStartup(kWinsockVersion, &data);
    if (startup != 0) {
        const StatusCode status = StatusFromError(startup);
        diag::Report(status, L"Error occurred while executing WSAStartup\n");
        return status;
    }
    started_ = true;

    event_ = WSACreateEvent();
    if (event_ == WSA_INVALID_EVENT) return ReportFailure(L"Error occurred while WSACreateEvent\n");
    overlapped_.hEvent = event_;

    socket_ = WSASocketA(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_OVERLAPPED);
    if (socket_ == INVALID_SOCKET) return ReportFailure(L"Error occurred while opening socket\n");

    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR)
        return ReportFailure(L"Error occurred while binding\n");
    AskForBurstBuffer();

    buffer_.buf = static_cast<char*>(std::malloc(kReceiveBufferLength));
    if (!buffer_.buf) return E_OUTOFMEMORY;
    buffer_.len = kReceiveBufferLength;
    return S_OK;
}

// What arrives faster than the thread drains it waits in the socket's buffer,
// and the system drops whatever does not fit. A refused request leaves the
// system's size, which is then reported when it is small; reception goes on.
void DatagramReceiver::AskForBurstBuffer() {
    const int wanted = kWantedSocketBufferBytes;
    setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&wanted), sizeof wanted);
    const int granted = GrantedReceiveBuffer(socket_);
    if (granted > 0 && granted < kLeastSocketBufferBytes)
        diag::Report(S_OK, L"The system granted a receive buffer of only %u bytes: bursts of datagrams may be lost\n",
                     static_cast<unsigned>(granted));
}

ReceiveResult DatagramReceiver::ReceiveStep(RecordPtr& record) {
    record.reset();
    DWORD byteCount = 0;
    receiveFlags_ = 0;
    senderAddressLength_ = sizeof senderAddress_;

    if (pending_) {
        const BOOL done = WSAGetOverlappedResult(socket_, &overlapped_, &byteCount, FALSE, &receiveFlags_);
        if (!done && WSAGetLastError() == WSA_IO_INCOMPLETE) return ReceiveResult::Pending;
        if (!done && WSAGetLastError() != WSAEMSGSIZE) {
            ReportFailure(L"WSAGetOverlappedResult failed with error\n");
            return ReceiveResult::Failed;
        }
        pending_ = false;
        if (!done) byteCount = buffer_.len;
        return Completed(byteCount, record);
    }

    const int started = WSARecvFrom(socket_, &buffer_, 1, &byteCount, &receiveFlags_,
                                    reinterpret_cast<sockaddr*>(&senderAddress_), &senderAddressLength_,
                                    &overlapped_, nullptr);
    if (started == SOCKET_ERROR) {
        const int error = WSAGetLastError();
        if (error == WSA_IO_PENDING) {
            pending_ = true;
            return ReceiveResult::Pending;
        }
        if (error != WSAEMSGSIZE) {
            ReportFailure(L"WSARecvFrom failed with error\n");
            return ReceiveResult::Failed;
        }
        byteCount = buffer_.len;
    }
    return Completed(byteCount, record);
}

// A datagram too long for the buffer arrives cut to the buffer, like one that
// fills it exactly: reported, recorded, and reception goes on.
ReceiveResult DatagramReceiver::Completed(DWORD byteCount, RecordPtr& record) {
    if (byteCount >= buffer_.len) {
        byteCount = buffer_.len;
        diag::Report(S_OK, L"Received more than %u bytes\n", static_cast<unsigned>(buffer_.len));
    }
    record = MakeSyslogRecord(buffer_.buf, byteCount, senderAddress_);
    return record ? ReceiveResult::Received : ReceiveResult::Failed;
}

unsigned short DatagramReceiver::BoundPort() const {
    sockaddr_in local{};
    int length = sizeof local;
    if (getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length) == SOCKET_ERROR) return 0;
    return ntohs(local.sin_port);
}

void DatagramReceiver::Close() {
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    if (event_ != WSA_INVALID_EVENT) {
        WSACloseEvent(event_);
        event_ = WSA_INVALID_EVENT;
        overlapped_ = WSAOVERLAPPED{};
    }
    std::free(buffer_.buf);
    buffer_ = WSABUF{0, nullptr};
    pending_ = false;
    if (started_) {
        WSACleanup();
        started_ = false;
    }
}

}  // namespace net
