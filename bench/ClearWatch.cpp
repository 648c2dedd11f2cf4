// ClearWatch.cpp: the Clear's progress, sampled from another thread.
#include "bench/ClearWatch.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <utility>

#include "bench/BenchSupport.h"
#include "net/SyslogRecord.h"

namespace bench {

namespace {

constexpr auto kLongestClear = std::chrono::seconds(20);
constexpr auto kSampleInterval = std::chrono::milliseconds(500);

}  // namespace

ClearWatch::ClearWatch(std::function<void()> beforeEnding)
    : beforeEnding_(std::move(beforeEnding)), started_(Now()), thread_([this] { Watch(); }) {}

ClearWatch::~ClearWatch() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void ClearWatch::Watch() {
    const auto deadline = std::chrono::steady_clock::now() + kLongestClear;
    std::unique_lock<std::mutex> lock(mutex_);
    for (int sample = 0; !done_; ++sample) {
        Result(("clear_t_" + std::to_string(sample)).c_str(), Now() - started_);
        Result(("clear_left_" + std::to_string(sample)).c_str(), net::SyslogRecordsAlive());
        if (std::chrono::steady_clock::now() >= deadline) {
            Result("clear_finished", 0);
            Result("clear_s", Now() - started_);
            beforeEnding_();
            TerminateProcess(GetCurrentProcess(), 0);
        }
        wake_.wait_for(lock, kSampleInterval, [this] { return done_; });
    }
}

}  // namespace bench
