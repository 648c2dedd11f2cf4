// bare_receiver.cpp: the least a Winsock program can do with syslog traffic,
// as the yardstick for the monitor's loss-free rate.
//
//   bare_receiver <output file> [receive buffer bytes]
//
// Binds UDP 514 on every local IPv4 address, receives with blocking recvfrom
// into one 4096-byte buffer and keeps each datagram's sequence number ("seq="
// and ten digits) in arrival order. Without a buffer size the socket keeps the
// system's default receive buffer; with one it asks for that much (SO_RCVBUF)
// and prints what the system granted as "buffer <bytes>". Besides, only a
// receive timeout is set: once a datagram has come and none follows for
// kIdleEndMs, it writes one number per line to the output file and ends. Exit
// code 0, or 1 when the port cannot be bound or the file cannot be written.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned short kSyslogPort = 514;
constexpr int kBufferBytes = 4096;
constexpr DWORD kIdleEndMs = 2000;
constexpr ULONGLONG kFirstDatagramWaitMs = 120000;
constexpr size_t kExpectedDatagrams = 1u << 20;
const char kSequenceTag[] = "seq=";
constexpr size_t kSequenceDigits = 10;

// -1 when the datagram carries no sequence number.
long long SequenceNumber(const char* bytes, int count) {
    const size_t tagLength = sizeof kSequenceTag - 1;
    for (int at = 0; at + static_cast<int>(tagLength + kSequenceDigits) <= count; ++at) {
        if (std::memcmp(bytes + at, kSequenceTag, tagLength) != 0) continue;
        long long value = 0;
        for (size_t digit = 0; digit < kSequenceDigits; ++digit) {
            const char c = bytes[at + tagLength + digit];
            if (c < '0' || c > '9') return -1;
            value = value * 10 + (c - '0');
        }
        return value;
    }
    return -1;
}

// Answers the size the system granted, or -1 when it would not say.
int AskForReceiveBuffer(SOCKET socket, int bytes) {
    setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes);
    int granted = -1;
    int length = sizeof granted;
    if (getsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &length) != 0) return -1;
    return granted;
}

bool WriteSequence(const char* path, const std::vector<long long>& sequence) {
    FILE* file = std::fopen(path, "w");
    if (!file) return false;
    for (long long number : sequence) std::fprintf(file, "%lld\n", number);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: bare_receiver <output file> [receive buffer bytes]\n");
        return 1;
    }
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
    const SOCKET socket = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(kSyslogPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (socket == INVALID_SOCKET || bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::fprintf(stderr, "bare_receiver: cannot bind UDP %u (error %d)\n", kSyslogPort, WSAGetLastError());
        WSACleanup();
        return 1;
    }
    const DWORD timeout = kIdleEndMs;
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::printf("bound\n");
    if (argc == 3) std::printf("buffer %d\n", AskForReceiveBuffer(socket, std::atoi(argv[2])));
    std::fflush(stdout);

    std::vector<long long> sequence;
    sequence.reserve(kExpectedDatagrams);
    std::vector<char> buffer(kBufferBytes);
    const ULONGLONG started = GetTickCount64();
    for (;;) {
        sockaddr_in from{};
        int fromLength = sizeof from;
        const int count = recvfrom(socket, buffer.data(), kBufferBytes, 0, reinterpret_cast<sockaddr*>(&from),
                                   &fromLength);
        if (count != SOCKET_ERROR) {
            sequence.push_back(SequenceNumber(buffer.data(), count));
            continue;
        }
        const bool stillWaitingForFirst =
            sequence.empty() && GetTickCount64() - started < kFirstDatagramWaitMs;
        if (WSAGetLastError() != WSAETIMEDOUT || !stillWaitingForFirst) break;
    }
    closesocket(socket);
    WSACleanup();
    return WriteSequence(argv[1], sequence) ? 0 : 1;
}
