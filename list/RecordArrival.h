// RecordArrival.h: what happens to each record that reaches the Main window.
#pragma once

#include <windows.h>

#include "list/MessageList.h"
#include "net/SyslogRecord.h"
#include "records/CaptureFile.h"
#include "settings/Settings.h"

namespace list {

// The Main window's parts that a record's arrival touches.
struct ArrivalTargets {
    bool captureOn;
    records::CaptureFile& captureFile;
    MessageList& list;
    const settings::Settings& settings;
    bool moreRecordsQueued;  // further deliveries already wait for the UI thread
};

// Writes each record's line when a Capture file is open, then shows it as a
// new row when ToDisplay is on, scrolling when Autoscroll is on. The record
// is released once its row holds a copy, or at once.
//
// While more records wait in the queue, the list's redraw is suspended and
// the scrolling adds up. When the queue runs dry, and at least every
// kLongestPendingMs during a flood, the list is redrawn and scrolled once and
// the Capture file's lines are handed to the system. The rows, the file and
// the final view are the same as record by record.
class RecordArrival {
public:
    static constexpr ULONGLONG kLongestPendingMs = 100;

    // True when it caught up: what counts the rows may be shown afresh.
    bool Arrive(net::RecordPtr record, const ArrivalTargets& targets);

    // Shows and writes out whatever a burst has left pending.
    void CatchUp(records::CaptureFile& captureFile, HWND list);

    // How many times a burst's rows have been shown at once.
    unsigned long BatchesShown() const { return batchesShown_; }

private:
    void ShowRow(net::RecordPtr record, const ArrivalTargets& targets);
    void Redraw(HWND list);

    bool redrawSuspended_ = false;
    ULONGLONG caughtUpAt_ = 0;
    int pendingScrolls_ = 0;  // one list height each, held back while redraw is suspended
    unsigned long batchesShown_ = 0;
};

}  // namespace list
