// HandOff.cpp: the doorbell armed only once the clock has found nothing for a quiet spell.
#include "net/HandOff.h"

namespace net {

HandOff::Clock HandOff::Take(DeliveryBatch& batch, ULONGLONG now) {
    const bool quiet = !flowing_ || now - lastTakenAt_ >= quietSpellMs_;
    if (quiet)
        queue_.TakeAllOrArm(batch);
    else
        queue_.TakeAll(batch);
    if (!batch.empty()) {
        flowing_ = true;
        lastTakenAt_ = now;
        return Clock::Run;
    }
    if (!quiet) return Clock::Run;
    flowing_ = false;
    return Clock::Stop;
}

}  // namespace net
