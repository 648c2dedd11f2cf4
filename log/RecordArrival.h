// RecordArrival.h: what happens to each record that reaches the Main window.
#pragma once

#include <windows.h>

#include "log/CaptureFile.h"
#include "log/MessageList.h"
#include "net/SyslogRecord.h"
#include "settings/Settings.h"

namespace messagelog {

// The Main window's parts that a record's arrival touches.
struct ArrivalTargets {
    bool captureOn;
    CaptureFile& captureFile;
    MessageList& list;
    const settings::Settings& settings;
    bool moreRecordsQueued;  // further records already wait in the Main window's queue
};

// Writes each record's line when a Capture file is open, then shows it as a
// new row when ToDisplay is on, scrolling when Autoscroll is on. The record
// is released once its row holds a copy, or at once.
//
// While more records wait in the queue, the list's redraw is suspended and
// the scrolling adds up; the list is redrawn and scrolled once when the queue
// runs dry, and at least every kLongestUnpaintedMs during a flood. The rows,
// the file and the final view are the same as record by record.
class RecordArrival {
public:
    static constexpr ULONGLONG kLongestUnpaintedMs = 100;

    void Arrive(net::RecordPtr record, const ArrivalTargets& targets);

    // Redraws and scrolls what a burst has left pending.
    void Flush(HWND list);

    // How many times a burst's rows have been shown at once.
    unsigned long BatchesShown() const { return batchesShown_; }

private:
    void ShowRow(net::RecordPtr record, const ArrivalTargets& targets);

    bool redrawSuspended_ = false;
    ULONGLONG suspendedAt_ = 0;
    int pendingScrollRows_ = 0;
    unsigned long batchesShown_ = 0;
};

}  // namespace messagelog
