// ClearWatch.h: follows a long Clear from another thread, and cuts it short.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace bench {

// While it lives, prints every half second how long the Clear has run and how
// many records are still alive (each deleted row releases one). A Clear still
// running at the time limit ends the process, after the last figures and the
// given clean-up: a Clear cannot be interrupted.
class ClearWatch {
public:
    explicit ClearWatch(std::function<void()> beforeEnding);
    ~ClearWatch();
    ClearWatch(const ClearWatch&) = delete;
    ClearWatch& operator=(const ClearWatch&) = delete;

private:
    void Watch();

    const std::function<void()> beforeEnding_;
    const double started_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;  // last: it starts once the rest is in place
};

}  // namespace bench
