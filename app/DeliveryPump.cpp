// DeliveryPump.cpp: turns bounded in time, a timer between them; each record to the file first, then the row.
#include "app/DeliveryPump.h"

#include <utility>

namespace app {

namespace {

const wchar_t kIgnoredWhileOff[] =
    L"Capture is off, so arriving messages are ignored: neither shown nor written. Ctrl+C (View > Capture) "
    L"turns capture back on\n";

void Write(records::CaptureFile& captureFile, const net::SyslogRecord& record) {
    const StatusCode written = captureFile.Write(record);
    if (FAILED(written)) captureFile.GiveUp(written);
}

}  // namespace

void DeliveryPump::Start(HWND window, UINT doorbell) {
    window_ = window;
    queue_.SetDoorbell(window, doorbell);
}

DeliveryPump::Turned DeliveryPump::Turn(const DeliveryTargets& to) {
    if (closing_) return Turned::HoldingBack;
    caughtUp_ = false;
    if (handled_ == batch_.size()) {
        handled_ = 0;
        if (handOff_.Take(batch_, GetTickCount64()) == net::HandOff::Clock::Stop) {
            KillTimer(window_, kTimerId);
            CatchUp(to);
            return Turned::Idle;
        }
        // Dry for now, but the burst may go on: the timer keeps running.
        if (batch_.empty()) return CatchUpIfDue(to, true) ? Turned::CaughtUp : Turned::HoldingBack;
    }
    recordsThisTurn_ = 0;
    const ULONGLONG turnStarted = GetTickCount64();
    do {
        const bool moreQueued = handled_ + 1 < batch_.size() || queue_.HasWaiting();
        Handle(to, batch_[handled_++], moreQueued);
    } while (handled_ < batch_.size() && GetTickCount64() - turnStarted < kLongestTurnMs);
    diagnostics_.AppendTo(to.pane);
    SetTimer(window_, kTimerId, kTurnIntervalMs, nullptr);
    return caughtUp_ ? Turned::CaughtUp : Turned::HoldingBack;
}

void DeliveryPump::Finish(const CaptureSwitch& capture, records::CaptureFile& captureFile) {
    KillTimer(window_, kTimerId);
    queue_.SetDoorbell(nullptr, 0);
    do {
        for (; handled_ < batch_.size(); ++handled_) {
            const net::RecordPtr& record = batch_[handled_].record;
            if (record && capture.IsOn() && captureFile.IsOpen()) Write(captureFile, *record);
        }
        handled_ = 0;
        queue_.TakeAllOrArm(batch_);
    } while (!batch_.empty());
}

void DeliveryPump::Handle(const DeliveryTargets& to, net::Delivery& delivery, bool moreQueued) {
    if (delivery.record) {
        ++recordsThisTurn_;
        ++recordsSinceCatchUp_;
        Arrive(to, std::move(delivery.record), moreQueued);
        CatchUpIfDue(to, !moreQueued);
        return;
    }
    diagnostics_.Add(to.pane, std::move(delivery.text));
}

// A record is written even when it is not shown, and the watch rules see it
// either way; with the capture switch off it is neither written nor seen,
// and the first one since the switch went off is told of in the pane. It
// goes one way: to the Capture file, the row book, the list, the calls. The
// Settings are read afresh for every record, so an OK in the Options dialog
// applies from the next one on.
void DeliveryPump::Arrive(const DeliveryTargets& to, net::RecordPtr record, bool moreQueued) {
    if (!to.capture.IsOn()) {
        if (to.capture.FirstIgnored()) diagnostics_.Add(to.pane, diag::MakeDiagnostic(S_OK, kIgnoredWhileOff));
        return;
    }
    if (to.captureFile.IsOpen()) Write(to.captureFile, *record);
    const bool hold = to.settings.ToDisplay != 0;
    const records::Admission admission = to.book.Admit(*record, hold);
    if (hold) to.list.Show(admission, to.settings.Autoscroll != 0, moreQueued);
    to.rowsKeptNotices.Admitted(admission, hold, to.settings.KeepRows, to.book.KeepRows(), to.captureFile.IsOpen());
    if (admission.match.matched)
        to.calls.OnMatches(admission.match.matched, to.book.Rules(), record->message, GetTickCount64());
}

// A lone record is shown at once, a flow at most every kShortestCatchUpMs, a
// flood every kLongestPendingMs, a torrent every kTorrentPendingMs.
bool DeliveryPump::CatchUpDue(ULONGLONG sinceMs, size_t recordsSince, size_t recordsThisTurn, bool dry) {
    if (sinceMs >= kTorrentPendingMs) return true;
    if (recordsSince > kTorrentRecords) return false;
    if (sinceMs >= kLongestPendingMs) return true;
    if (!dry || recordsSince > kFloodRecords) return false;
    return recordsThisTurn <= 1 || sinceMs >= kShortestCatchUpMs;
}

// Between a torrent's catch-ups the Capture file's lines still reach the
// system every kLongestPendingMs.
bool DeliveryPump::CatchUpIfDue(const DeliveryTargets& to, bool dry) {
    const ULONGLONG now = GetTickCount64();
    if (CatchUpDue(now - caughtUpAt_, recordsSinceCatchUp_, recordsThisTurn_, dry)) {
        CatchUp(to);
        return true;
    }
    if (now - flushedAt_ >= kLongestPendingMs) {
        to.captureFile.Flush();
        flushedAt_ = now;
    }
    return false;
}

// The Capture file's lines go to the system and a held-back burst is shown.
void DeliveryPump::CatchUp(const DeliveryTargets& to) {
    to.captureFile.Flush();
    to.list.ShowHeldBack();
    caughtUpAt_ = flushedAt_ = GetTickCount64();
    recordsSinceCatchUp_ = 0;
    caughtUp_ = true;
}

}  // namespace app
