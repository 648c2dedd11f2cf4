// DeliveryQueue.cpp: one short lock per item; the doorbell posted outside it.
#include "net/DeliveryQueue.h"

#include <new>
#include <utility>

#include "win/ExclusiveLock.h"

namespace net {

namespace {

constexpr size_t kRoomKeptWhenIdle = 1024;  // deliveries

const wchar_t kDroppingStarts[] = L"Records are being dropped: the display fell behind or memory ran out\n";
const wchar_t kDroppedCount[] =
    L"Records dropped: %llu, diagnostics dropped: %llu (the display fell behind or memory ran out)\n";

size_t BytesOf(const Delivery& delivery) {
    if (delivery.record) return sizeof delivery + RecordBytes(*delivery.record);
    if (delivery.text) return sizeof delivery + diag::DiagnosticTextBytes(delivery.text.get());
    return sizeof delivery;
}

}  // namespace

DeliveryQueue::~DeliveryQueue() = default;

void DeliveryQueue::SetDoorbell(HWND window, UINT message) {
    win::ExclusiveLock held(lock_);
    doorbellWindow_ = window;
    doorbellMessage_ = message;
}

bool DeliveryQueue::Push(RecordPtr record) {
    Delivery delivery{std::move(record), nullptr};
    return Append(delivery, true);
}

void DeliveryQueue::Deliver(diag::DiagnosticText text) {
    Delivery delivery{nullptr, std::move(text)};
    Append(delivery, false);
}

// What is not queued stays with the caller's local, which releases it.
bool DeliveryQueue::Append(Delivery& delivery, bool isRecord) {
    const bool made = delivery.record || delivery.text;
    const size_t bytes = BytesOf(delivery);
    bool queued = false;
    HWND ring = nullptr;
    UINT message = 0;
    {
        win::ExclusiveLock held(lock_);
        queued = made && waitingBytes_ + takenBytes_ + bytes <= byteLimit_ && Queue(delivery, bytes);
        if (!queued) CountDropped(isRecord);
        if (doorbellArmed_ && doorbellWindow_ && !waiting_.empty()) {
            doorbellArmed_ = false;
            ring = doorbellWindow_;
            message = doorbellMessage_;
        }
    }
    // A doorbell that cannot be posted is armed again: the next item rings.
    if (ring && !PostMessageW(ring, message, 0, 0)) {
        win::ExclusiveLock held(lock_);
        doorbellArmed_ = true;
    }
    return queued;
}

bool DeliveryQueue::Queue(Delivery& delivery, size_t bytes) {
    try {
        waiting_.push_back(std::move(delivery));
    } catch (const std::bad_alloc&) {
        return false;  // push_back changed nothing: the delivery is still the caller's
    }
    waitingBytes_ += bytes;
    return true;
}

// The first drop since the UI last caught up is told at once, beyond the
// limit, in its place among the items; if even that cannot be queued, the
// count still comes.
void DeliveryQueue::CountDropped(bool isRecord) {
    const bool first = droppedRecords_ == 0 && droppedTexts_ == 0;
    ++(isRecord ? droppedRecords_ : droppedTexts_);
    if (isRecord) ++recordsDroppedSoFar_;
    if (!first) return;
    Delivery notice{nullptr, diag::MakeDiagnostic(S_OK, kDroppingStarts)};
    if (notice.text) Queue(notice, BytesOf(notice));
}

void DeliveryQueue::TakeAll(DeliveryBatch& batch) {
    Take(batch, false);
}

void DeliveryQueue::TakeAllOrArm(DeliveryBatch& batch) {
    Take(batch, true);
}

void DeliveryQueue::Take(DeliveryBatch& batch, bool armWhenEmpty) {
    batch.clear();
    win::ExclusiveLock held(lock_);
    takenBytes_ = 0;
    if (waiting_.empty()) {
        if (HandOverDroppedCount(batch)) return;
        if (armWhenEmpty) doorbellArmed_ = true;
        // A burst's room goes back once it is over; everyday traffic keeps its room.
        if (batch.capacity() > kRoomKeptWhenIdle) DeliveryBatch().swap(batch);
        if (waiting_.capacity() > kRoomKeptWhenIdle) DeliveryBatch().swap(waiting_);
        return;
    }
    batch.swap(waiting_);
    takenBytes_ = waitingBytes_;
    waitingBytes_ = 0;
    taken_ += batch.size();
}

// Caught up after dropping: the count goes to the UI as a batch of its own.
// Without memory for it, it is told at a later catch-up.
bool DeliveryQueue::HandOverDroppedCount(DeliveryBatch& batch) {
    if (droppedRecords_ == 0 && droppedTexts_ == 0) return false;
    Delivery count{nullptr, diag::MakeDiagnostic(S_OK, kDroppedCount, droppedRecords_, droppedTexts_)};
    if (!count.text) return false;
    const size_t bytes = BytesOf(count);
    try {
        batch.push_back(std::move(count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    takenBytes_ = bytes;
    droppedRecords_ = 0;
    droppedTexts_ = 0;
    ++taken_;
    return true;
}

bool DeliveryQueue::HasWaiting() const {
    win::ExclusiveLock held(lock_);
    return !waiting_.empty();
}

unsigned long long DeliveryQueue::TakenSoFar() const {
    win::ExclusiveLock held(lock_);
    return taken_;
}

unsigned long long DeliveryQueue::RecordsDroppedSoFar() const {
    win::ExclusiveLock held(lock_);
    return recordsDroppedSoFar_;
}

}  // namespace net
