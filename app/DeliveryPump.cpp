// DeliveryPump.cpp: turns bounded in time, a timer between them; each record to the file first, then the row.
#include "app/DeliveryPump.h"

#include <utility>

namespace app {

namespace {

const wchar_t kIgnoredWhileOff[] =
    L"Capture is off, so arriving messages are ignored: neither shown nor written. Ctrl+C (View > Capture) "
    L"turns capture back on\n";

}  // namespace

void DeliveryPump::Start(HWND window, UINT doorbell) {
    window_ = window;
    queue_.SetDoorbell(window, doorbell);
}

DeliveryPump::Turned DeliveryPump::Turn() {
    if (closing_) return Turned::HoldingBack;
    caughtUp_ = false;
    if (handled_ == batch_.size()) {
        handled_ = 0;
        if (handOff_.Take(batch_, GetTickCount64()) == net::HandOff::Clock::Stop) {
            KillTimer(window_, kTimerId);
            CatchUp();
            return Turned::Idle;
        }
        // Dry for now, but the burst may go on: the timer keeps running.
        if (batch_.empty()) {
            if (!CatchUpDue(true)) return Turned::HoldingBack;
            CatchUp();
            return Turned::CaughtUp;
        }
    }
    recordsThisTurn_ = 0;
    const ULONGLONG turnStarted = GetTickCount64();
    do {
        const bool moreQueued = handled_ + 1 < batch_.size() || queue_.HasWaiting();
        Handle(batch_[handled_++], moreQueued);
    } while (handled_ < batch_.size() && GetTickCount64() - turnStarted < kLongestTurnMs);
    diagnostics_.AppendTo(pane_);
    SetTimer(window_, kTimerId, kTurnIntervalMs, nullptr);
    return caughtUp_ ? Turned::CaughtUp : Turned::HoldingBack;
}

void DeliveryPump::Finish() {
    KillTimer(window_, kTimerId);
    queue_.SetDoorbell(nullptr, 0);
    do {
        for (; handled_ < batch_.size(); ++handled_) {
            const net::RecordPtr& record = batch_[handled_].record;
            if (record && capture_.IsOn() && captureFile_.IsOpen()) Write(*record);
        }
        handled_ = 0;
        queue_.TakeAllOrArm(batch_);
    } while (!batch_.empty());
}

void DeliveryPump::Handle(net::Delivery& delivery, bool moreQueued) {
    if (!settings_) return;  // past the destruction handler: released with the batch
    if (delivery.record) {
        ++recordsThisTurn_;
        behind_ = true;
        Arrive(std::move(delivery.record), moreQueued);
        if (CatchUpDue(!moreQueued)) CatchUp();
        return;
    }
    diagnostics_.Add(pane_, std::move(delivery.text));
}

// A record is written even when it is not shown, and the watch rules see it
// either way; with the capture switch off it is neither written nor seen,
// and the first one since the switch went off is told of in the pane. It
// goes one way: to the Capture file, the row book, the list, the calls. The
// Settings are read afresh for every record, so an OK in the Options dialog
// applies from the next one on.
void DeliveryPump::Arrive(net::RecordPtr record, bool moreQueued) {
    if (!capture_.IsOn()) {
        if (capture_.FirstIgnored()) diagnostics_.Add(pane_, diag::MakeDiagnostic(S_OK, kIgnoredWhileOff));
        return;
    }
    if (captureFile_.IsOpen()) Write(*record);
    const settings::Settings& settings = *settings_;
    const bool hold = settings.ToDisplay != 0;
    const records::Admission admission = book_.Admit(*record, hold);
    if (hold) list_.Show(admission, settings.Autoscroll != 0, moreQueued);
    rowsKeptNotices_.Admitted(admission, hold, settings.KeepRows, book_.KeepRows(), captureFile_.IsOpen());
    if (admission.match.matched)
        calls_.OnMatches(admission.match.matched, book_.Rules(), record->message, GetTickCount64());
}

void DeliveryPump::Write(const net::SyslogRecord& record) {
    const StatusCode written = captureFile_.Write(record);
    if (FAILED(written)) captureFile_.GiveUp(written);
}

// dry: nothing more is queued now. A lone record is shown at once, a flow
// at most every kShortestCatchUpMs, a flood at least every kLongestPendingMs.
bool DeliveryPump::CatchUpDue(bool dry) const {
    const ULONGLONG since = GetTickCount64() - caughtUpAt_;
    if (since >= kLongestPendingMs) return true;
    return dry && (recordsThisTurn_ <= 1 || since >= kShortestCatchUpMs);
}

// The Capture file's lines go to the system and a held-back burst is shown.
void DeliveryPump::CatchUp() {
    if (!settings_) return;
    captureFile_.Flush();
    list_.ShowHeldBack();
    caughtUpAt_ = GetTickCount64();
    caughtUp_ = true;
    behind_ = false;
}

}  // namespace app
