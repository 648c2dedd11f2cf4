// DeliveryQueue.cpp: one short lock per item; the doorbell posted outside it.
#include "net/DeliveryQueue.h"

#include <new>
#include <utility>

namespace net {

namespace {

constexpr size_t kRoomKeptWhenIdle = 1024;  // deliveries

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

DeliveryQueue::~DeliveryQueue() = default;

void DeliveryQueue::SetDoorbell(HWND window, UINT message) {
    ExclusiveLock held(lock_);
    doorbellWindow_ = window;
    doorbellMessage_ = message;
}

bool DeliveryQueue::Push(RecordPtr record) {
    Delivery delivery{std::move(record), nullptr};
    return Append(delivery);
}

void DeliveryQueue::Deliver(diag::DiagnosticText text) {
    Delivery delivery{nullptr, std::move(text)};
    Append(delivery);
}

// On failure the delivery stays with the caller's local, which releases it.
bool DeliveryQueue::Append(Delivery& delivery) {
    HWND ring = nullptr;
    UINT message = 0;
    {
        ExclusiveLock held(lock_);
        try {
            waiting_.push_back(std::move(delivery));
        } catch (const std::bad_alloc&) {
            return false;  // push_back changed nothing: the delivery is still ours
        }
        if (doorbellArmed_ && doorbellWindow_) {
            doorbellArmed_ = false;
            ring = doorbellWindow_;
            message = doorbellMessage_;
        }
    }
    // A doorbell that cannot be posted is armed again: the next item rings.
    if (ring && !PostMessageW(ring, message, 0, 0)) {
        ExclusiveLock held(lock_);
        doorbellArmed_ = true;
    }
    return true;
}

void DeliveryQueue::TakeAllOrArm(DeliveryBatch& batch) {
    batch.clear();
    ExclusiveLock held(lock_);
    if (waiting_.empty()) {
        doorbellArmed_ = true;
        // A burst's room goes back once it is over; everyday traffic keeps its room.
        if (batch.capacity() > kRoomKeptWhenIdle) DeliveryBatch().swap(batch);
        if (waiting_.capacity() > kRoomKeptWhenIdle) DeliveryBatch().swap(waiting_);
        return;
    }
    batch.swap(waiting_);
    taken_ += batch.size();
}

bool DeliveryQueue::HasWaiting() const {
    ExclusiveLock held(lock_);
    return !waiting_.empty();
}

unsigned long long DeliveryQueue::TakenSoFar() const {
    ExclusiveLock held(lock_);
    return taken_;
}

}  // namespace net
