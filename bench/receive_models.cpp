// receive_models.cpp: the monitor's receive path in its simplest forms, each a
// step further than the one before, so that what each step costs in CPU under
// Wine can be told apart.
//
//   receive_models <blocking|overlapped|poll|doorbell> <output file> <stop file>
//
// Binds UDP 514 on every local IPv4 address, asks for the monitor's receive
// buffer and writes each datagram as the line "sender,message" to the output
// file as it comes, until the stop file exists. The stop file is looked for
// only when nothing has come for kStopLookMs, so that a measurement never sees
// it. Prints "bound" once it holds the port. Exit code 0; 1 when the port
// cannot be bound, a receive fails or the file cannot be written; 2 on a
// usage error.
//
//   blocking    one blocking recvfrom after another: the bare loop
//   overlapped  one overlapped WSARecvFrom at a time, its event waited for and
//               the receives that complete at once taken together, as the
//               monitor's Receive thread does; the lines written there
//   poll        the same, each datagram made a record and queued under a lock;
//               a second thread, the UI, takes the queue on a timer every
//               kTurnIntervalMs and writes the lines; nothing else wakes it
//   doorbell    the same without the timer: a message posted to the UI thread
//               wakes it, for the first record after the UI found the queue empty
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win/ExclusiveLock.h"

namespace {

constexpr unsigned short kSyslogPort = 514;
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;  // what the monitor asks for
constexpr int kDatagramBytes = 4096;
constexpr DWORD kStopLookMs = 200;
constexpr UINT kTurnIntervalMs = 10;  // the monitor's timer between turns
constexpr UINT kDoorbell = WM_APP;

enum class Model { Blocking, Overlapped, Poll, Doorbell };

struct ModelName {
    const char* name;
    Model model;
};
constexpr ModelName kModels[] = {{"blocking", Model::Blocking},
                                 {"overlapped", Model::Overlapped},
                                 {"poll", Model::Poll},
                                 {"doorbell", Model::Doorbell}};

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void WriteLine(FILE* output, in_addr sender, const char* message, size_t length) {
    const auto& b = sender.S_un.S_un_b;
    std::fprintf(output, "%u.%u.%u.%u,%.*s\n", b.s_b1, b.s_b2, b.s_b3, b.s_b4, static_cast<int>(length), message);
}

// A datagram on its way to the UI thread: two allocations, as the monitor's record.
struct Record {
    in_addr sender;
    std::string message;
};
using RecordPtr = std::unique_ptr<Record>;
using Batch = std::vector<RecordPtr>;

// Filled by the receiving thread, emptied by the UI thread. With a doorbell,
// the first record after the UI found the queue empty posts it to the UI thread.
class RecordQueue {
public:
    void SetDoorbell(DWORD uiThread) { doorbellThread_ = uiThread; }

    void Push(RecordPtr record) {
        bool ring = false;
        {
            win::ExclusiveLock held(lock_);
            waiting_.push_back(std::move(record));
            ring = armed_ && doorbellThread_ != 0;
            if (ring) armed_ = false;
        }
        if (ring) PostThreadMessageW(doorbellThread_, kDoorbell, 0, 0);
    }

    void TakeAll(Batch& batch) {
        batch.clear();
        win::ExclusiveLock held(lock_);
        batch.swap(waiting_);
        if (batch.empty()) armed_ = true;
    }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    Batch waiting_;
    bool armed_ = true;
    DWORD doorbellThread_ = 0;
};

// The second thread: takes the queue on its timer or its doorbell and writes
// the lines. Ends, after a last take, when the object goes.
class UiThread {
public:
    UiThread(FILE* output, Model model) : output_(output), onTimer_(model == Model::Poll) {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (ready_) thread_ = CreateThread(nullptr, 0, &UiThread::Run, this, 0, &threadId_);
        if (thread_) WaitForSingleObject(ready_, INFINITE);
        if (thread_ && model == Model::Doorbell) queue_.SetDoorbell(threadId_);
    }
    ~UiThread() {
        if (thread_) {
            PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (ready_) CloseHandle(ready_);
    }
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    bool Started() const { return thread_ != nullptr; }
    RecordQueue& Queue() { return queue_; }

private:
    static DWORD WINAPI Run(void* parameter) {
        UiThread& self = *static_cast<UiThread*>(parameter);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before the first ring
        if (self.onTimer_) SetTimer(nullptr, 0, kTurnIntervalMs, nullptr);
        SetEvent(self.ready_);
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER || msg.message == kDoorbell) self.WriteAllQueued();
        }
        self.WriteAllQueued();
        return 0;
    }

    // Until the queue is found empty, which arms the doorbell.
    void WriteAllQueued() {
        do {
            queue_.TakeAll(batch_);
            for (const RecordPtr& record : batch_)
                WriteLine(output_, record->sender, record->message.data(), record->message.size());
        } while (!batch_.empty());
    }

    FILE* const output_;
    const bool onTimer_;
    RecordQueue queue_;
    Batch batch_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

bool ReceiveBlocking(SOCKET socket, const char* stopPath, FILE* output) {
    const DWORD timeout = kStopLookMs;
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::vector<char> buffer(kDatagramBytes);
    for (;;) {
        sockaddr_in from{};
        int fromLength = sizeof from;
        const int count =
            recvfrom(socket, buffer.data(), kDatagramBytes, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (count != SOCKET_ERROR) {
            WriteLine(output, from.sin_addr, buffer.data(), static_cast<size_t>(count));
            continue;
        }
        if (WSAGetLastError() != WSAETIMEDOUT) return false;
        if (Exists(stopPath)) return true;
    }
}

enum class Awaited { Received, Stopped, Failed };

// Until the outstanding receive completes, or the stop file exists: the
// receive is then cancelled and waited for, since it must not outlive its
// buffer. The event may still be set by the last receive, which completed at
// once: the result is asked for at every wake.
Awaited AwaitReceive(SOCKET socket, WSAOVERLAPPED& overlapped, const char* stopPath, DWORD& count) {
    DWORD flags = 0;
    for (;;) {
        const DWORD woken = WaitForSingleObject(overlapped.hEvent, kStopLookMs);
        if (woken == WAIT_FAILED) return Awaited::Failed;
        if (WSAGetOverlappedResult(socket, &overlapped, &count, FALSE, &flags)) return Awaited::Received;
        if (WSAGetLastError() != WSA_IO_INCOMPLETE) return Awaited::Failed;
        if (woken == WAIT_TIMEOUT && Exists(stopPath)) {
            CancelIo(reinterpret_cast<HANDLE>(socket));
            WSAGetOverlappedResult(socket, &overlapped, &count, TRUE, &flags);
            return Awaited::Stopped;
        }
    }
}

// Hands each datagram to deliver(bytes, count, sender) until the stop file
// exists; true when it ended so, false when a receive failed.
template <typename Deliver>
bool ReceiveOverlapped(SOCKET socket, const char* stopPath, Deliver deliver) {
    WSAOVERLAPPED overlapped{};
    overlapped.hEvent = WSACreateEvent();
    if (overlapped.hEvent == WSA_INVALID_EVENT) return false;
    std::vector<char> buffer(kDatagramBytes);
    Awaited awaited = Awaited::Received;
    while (awaited == Awaited::Received) {
        WSABUF slot{kDatagramBytes, buffer.data()};
        DWORD count = 0;
        DWORD flags = 0;
        sockaddr_in from{};
        int fromLength = sizeof from;
        if (WSARecvFrom(socket, &slot, 1, &count, &flags, reinterpret_cast<sockaddr*>(&from), &fromLength,
                        &overlapped, nullptr) != 0) {
            awaited = WSAGetLastError() == WSA_IO_PENDING ? AwaitReceive(socket, overlapped, stopPath, count)
                                                          : Awaited::Failed;
        }
        if (awaited == Awaited::Received) deliver(buffer.data(), static_cast<size_t>(count), from.sin_addr);
    }
    WSACloseEvent(overlapped.hEvent);
    return awaited == Awaited::Stopped;
}

bool Receive(Model model, SOCKET socket, const char* stopPath, FILE* output) {
    if (model == Model::Blocking) return ReceiveBlocking(socket, stopPath, output);
    if (model == Model::Overlapped) {
        return ReceiveOverlapped(socket, stopPath, [output](const char* bytes, size_t count, in_addr sender) {
            WriteLine(output, sender, bytes, count);
        });
    }
    UiThread ui(output, model);
    if (!ui.Started()) return false;
    return ReceiveOverlapped(socket, stopPath, [&ui](const char* bytes, size_t count, in_addr sender) {
        ui.Queue().Push(RecordPtr(new Record{sender, std::string(bytes, count)}));
    });
}

bool ParseModel(const char* name, Model& model) {
    for (const ModelName& known : kModels) {
        if (std::strcmp(name, known.name) != 0) continue;
        model = known.model;
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    Model model = Model::Blocking;
    if (argc != 4 || !ParseModel(argv[1], model)) {
        std::fprintf(stderr, "usage: receive_models <blocking|overlapped|poll|doorbell> <output file> <stop file>\n");
        return 2;
    }
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
    // Overlapped for every model, as socket() makes it: only then does Wine time a blocking receive out.
    const SOCKET socket = WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_OVERLAPPED);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(kSyslogPort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (socket == INVALID_SOCKET || bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::fprintf(stderr, "receive_models: cannot bind UDP %u (error %d)\n", kSyslogPort, WSAGetLastError());
        WSACleanup();
        return 1;
    }
    const int bufferBytes = kReceiveBufferBytes;
    setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes), sizeof bufferBytes);
    FILE* output = std::fopen(argv[2], "w");
    if (!output) return 1;
    std::printf("bound\n");
    std::fflush(stdout);

    const bool received = Receive(model, socket, argv[3], output);
    closesocket(socket);
    WSACleanup();
    const bool written = std::fclose(output) == 0;
    return received && written ? 0 : 1;
}
