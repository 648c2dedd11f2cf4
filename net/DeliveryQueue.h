// DeliveryQueue.h: records and diagnostic texts on their way to the UI thread, in order.
#pragma once

#include <windows.h>

#include <vector>

#include "diag/DiagnosticReporter.h"
#include "diag/DiagnosticText.h"
#include "net/SyslogRecord.h"

namespace net {

// One item on its way: a record or a diagnostic text, never both.
struct Delivery {
    RecordPtr record;
    diag::DiagnosticText text;
};
using DeliveryBatch = std::vector<Delivery>;

// Filled by the Receive thread and by the diagnostic reporter on any thread,
// emptied by the UI thread. The UI is woken by a doorbell message that carries
// nothing; it rings only when the UI has asked for it by finding the queue
// empty, so a busy UI is never woken per item and an idle one not at all.
class DeliveryQueue : public diag::DiagnosticSink {
public:
    DeliveryQueue() = default;
    DeliveryQueue(const DeliveryQueue&) = delete;
    DeliveryQueue& operator=(const DeliveryQueue&) = delete;
    ~DeliveryQueue();  // releases whatever nobody took

    // Where the doorbell is posted; until set, nothing rings.
    void SetDoorbell(HWND window, UINT message);

    // Takes the record over; false when no memory could be had, and then the
    // record has been released.
    bool Push(RecordPtr record);
    void Deliver(diag::DiagnosticText text) override;

    // Everything queued, in order, into batch (emptied first). When nothing is
    // queued the doorbell is armed, so the next item rings it.
    void TakeAllOrArm(DeliveryBatch& batch);

    bool HasWaiting() const;

    // How many items the UI thread has taken so far.
    unsigned long long TakenSoFar() const;

private:
    bool Append(Delivery& delivery);

    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    DeliveryBatch waiting_;
    unsigned long long taken_ = 0;
    bool doorbellArmed_ = true;
    HWND doorbellWindow_ = nullptr;
    UINT doorbellMessage_ = 0;
};

}  // namespace net
