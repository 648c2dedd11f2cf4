// DeliveryPump.h: the burst policy: the queue taken in turns, where each item goes, when list and file catch up.
#pragma once

#include <windows.h>

#include "app/CaptureSwitch.h"
#include "app/MatchCalls.h"
#include "app/RowsKeptNotices.h"
#include "diag/DiagnosticsPane.h"
#include "list/MessageList.h"
#include "net/DeliveryQueue.h"
#include "net/HandOff.h"
#include "records/CaptureFile.h"
#include "records/RowBook.h"
#include "settings/Settings.h"

namespace app {

// The Main window's parts a turn's deliveries reach, given for each turn.
struct DeliveryTargets {
    CaptureSwitch& capture;
    records::CaptureFile& captureFile;
    records::RowBook& book;
    list::MessageList& list;
    MatchCalls& calls;
    RowsKeptNotices& rowsKeptNotices;
    HWND pane;
    const settings::Settings& settings;
};

// The doorbell starts a turn when the queue was idle. While deliveries keep
// coming, a timer brings a turn every kTurnIntervalMs and nothing rings, since
// a doorbell per item would cost as much as the item (net::HandOff). A turn
// handles what is queued, in order, for at most kLongestTurnMs; what is left
// waits for the next turn, so that input, painting and other programs' sent
// messages are answered during a burst. While more records wait, the list
// holds its redraw and the Capture file its lines; both catch up when the
// queue runs dry, and at least every kLongestPendingMs during a flood. A
// record that came alone in its turn is shown at once; while records come
// faster than one a turn, drying up catches up at most every
// kShortestCatchUpMs, since a repaint costs more than many records. Past
// kFloodRecords since the last catch-up, a screen shows rows no one can read
// before the next: a flood is shown every kLongestPendingMs alone, and past
// kTorrentRecords, when whole screens go by unseen between catch-ups, every
// kTorrentPendingMs, so that repainting costs less than receiving; the
// Capture file's lines still go out every kLongestPendingMs. A
// turn's diagnostics go to the pane together as it ends. Only once the turns
// have found nothing for kQuietSpellMs does the burst end: the timer stops
// and the doorbell is armed again, so a lone delivery after a quiet time is
// shown at once.
class DeliveryPump {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTurnIntervalMs = 10;
    static constexpr ULONGLONG kLongestTurnMs = 50;
    static constexpr ULONGLONG kLongestPendingMs = 100;
    static constexpr ULONGLONG kShortestCatchUpMs = 50;
    static constexpr size_t kFloodRecords = 200;     // 4,000 a second at the shortest catch-up
    static constexpr size_t kTorrentRecords = 400;   // 4,000 a second at the longest pending
    static constexpr ULONGLONG kTorrentPendingMs = 500;
    static constexpr ULONGLONG kQuietSpellMs = 50;

    explicit DeliveryPump(net::DeliveryQueue& queue) : queue_(queue), handOff_(queue, kQuietSpellMs) {}
    DeliveryPump(const DeliveryPump&) = delete;
    DeliveryPump& operator=(const DeliveryPump&) = delete;

    // The window whose timer brings the turns and to which the queue posts the doorbell.
    void Start(HWND window, UINT doorbell);
    // What a turn left to those who show what the list holds: rows still held
    // back, a catch-up during a flood, or a burst ended (caught up, and idle).
    enum class Turned { HoldingBack, CaughtUp, Idle };
    // One turn: on the doorbell and on the timer.
    Turned Turn(const DeliveryTargets& to);
    // At shutdown, before reception stops: from then on turns leave the queue alone.
    void Close() { closing_ = true; }
    // After reception has stopped: every record taken or still queued is
    // written to the Capture file but not shown, since the window is going, so
    // closing takes no longer than writing them; nothing rings any more.
    void Finish(const CaptureSwitch& capture, records::CaptureFile& captureFile);

    bool IsTimer(WPARAM timerId) const { return timerId == kTimerId; }

    // Whether the list and the file catch up now, sinceMs after the last
    // catch-up, with recordsSince handled since then and recordsThisTurn in
    // this turn; dry: nothing more is queued now.
    static bool CatchUpDue(ULONGLONG sinceMs, size_t recordsSince, size_t recordsThisTurn, bool dry);

    // Every record queued so far is in the list and the Capture file: none
    // waits in the queue or the batch, and none arrived since the last catch-up.
    bool CaughtUp() const { return recordsSinceCatchUp_ == 0 && handled_ == batch_.size() && !queue_.HasWaiting(); }

private:
    void Handle(const DeliveryTargets& to, net::Delivery& delivery, bool moreQueued);
    void Arrive(const DeliveryTargets& to, net::RecordPtr record, bool moreQueued);
    void CatchUp(const DeliveryTargets& to);
    bool CatchUpIfDue(const DeliveryTargets& to, bool dry);

    net::DeliveryQueue& queue_;
    net::HandOff handOff_;
    HWND window_ = nullptr;
    net::DeliveryBatch batch_;  // taken from the queue, handled over one or more turns
    size_t handled_ = 0;
    size_t recordsThisTurn_ = 0;
    size_t recordsSinceCatchUp_ = 0;  // none: caught up, as far as the records handled go
    ULONGLONG caughtUpAt_ = 0;
    ULONGLONG flushedAt_ = 0;  // the Capture file's lines, at a catch-up or between a torrent's
    bool caughtUp_ = false;  // in the current turn
    bool closing_ = false;
    diag::DiagnosticBatch diagnostics_;  // a turn's texts, appended when the turn ends
};

}  // namespace app
