// HandOff.h: when the UI takes the queue on its own clock and when the doorbell wakes it.
#pragma once

#include <windows.h>

#include "net/DeliveryQueue.h"

namespace net {

// A doorbell costs about as much as the record it announces (under Wine a
// round trip to the server and a thread's wake-up), so it must not ring per
// record. While items keep coming the UI takes the queue on a clock of its own
// and nothing rings. Once that clock has found the queue empty for a quiet
// spell the doorbell is armed and the clock may stop, so that a lone item
// after a quiet time still wakes the UI at once. The caller gives the time
// and runs the clock.
class HandOff {
public:
    HandOff(DeliveryQueue& queue, ULONGLONG quietSpellMs) : queue_(queue), quietSpellMs_(quietSpellMs) {}
    HandOff(const HandOff&) = delete;
    HandOff& operator=(const HandOff&) = delete;

    enum class Clock { Run, Stop };
    // Everything queued into batch, as DeliveryQueue::TakeAll, at now
    // (milliseconds). Stop when nothing has come for the quiet spell: the
    // doorbell is then armed and the clock no longer needed.
    Clock Take(DeliveryBatch& batch, ULONGLONG now);

private:
    DeliveryQueue& queue_;
    const ULONGLONG quietSpellMs_;
    bool flowing_ = false;  // something has been taken since the doorbell was last armed
    ULONGLONG lastTakenAt_ = 0;
};

}  // namespace net
