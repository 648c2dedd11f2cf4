// DeliveryQueue.h: records and diagnostic texts on their way to the UI thread, in order.
#pragma once

#include <windows.h>

#include <cstddef>
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

// What the queue and the batch the UI is handling may hold together, in bytes.
constexpr size_t kDeliveryByteLimit = 256u * 1024u * 1024u;

// Filled by the Receive thread and by the diagnostic reporter on any thread,
// emptied by the UI thread. The UI is woken by a doorbell message that carries
// nothing; it rings only when the UI has asked for it on finding the queue
// empty, so a busy UI is never woken per item and an idle one not at all.
// Past its byte limit, and when memory runs out, items are dropped and
// counted: the pane is told once when dropping starts and, once the UI has
// caught up, how many were dropped.
class DeliveryQueue : public diag::DiagnosticSink {
public:
    explicit DeliveryQueue(size_t byteLimit = kDeliveryByteLimit) : byteLimit_(byteLimit) {}
    DeliveryQueue(const DeliveryQueue&) = delete;
    DeliveryQueue& operator=(const DeliveryQueue&) = delete;
    ~DeliveryQueue();  // releases whatever nobody took

    // Where the doorbell is posted; until set, nothing rings.
    void SetDoorbell(HWND window, UINT message);

    // Takes the record over; false when it was dropped (released and counted).
    // A null record is a datagram whose record could not be made: counted.
    bool Push(RecordPtr record);
    void Deliver(diag::DiagnosticText text) override;

    // Everything queued, in order, into batch (emptied first); the batch given
    // has been handled. When nothing is queued the UI has caught up: the batch
    // then holds the count of what was dropped, if anything was.
    void TakeAll(DeliveryBatch& batch);
    // The same; and when the batch comes back empty the doorbell is armed, so
    // the next item rings it.
    void TakeAllOrArm(DeliveryBatch& batch);

    bool HasWaiting() const;

    // How many items the UI thread has taken so far.
    unsigned long long TakenSoFar() const;
    // How many records were dropped since the queue was made.
    unsigned long long RecordsDroppedSoFar() const;

private:
    void Take(DeliveryBatch& batch, bool armWhenEmpty);
    bool Append(Delivery& delivery, bool isRecord);
    bool Queue(Delivery& delivery, size_t bytes);
    void CountDropped(bool isRecord);
    bool HandOverDroppedCount(DeliveryBatch& batch);

    const size_t byteLimit_;
    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    DeliveryBatch waiting_;
    size_t waitingBytes_ = 0;
    size_t takenBytes_ = 0;  // the batch the UI is handling
    unsigned long long droppedRecords_ = 0;  // since the UI last caught up
    unsigned long long droppedTexts_ = 0;
    unsigned long long recordsDroppedSoFar_ = 0;
    unsigned long long taken_ = 0;
    bool doorbellArmed_ = true;
    HWND doorbellWindow_ = nullptr;
    UINT doorbellMessage_ = 0;
};

}  // namespace net
