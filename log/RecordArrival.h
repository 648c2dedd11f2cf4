// RecordArrival.h: what happens to each record that reaches the Main window.
#pragma once

#include <windows.h>

#include "log/CaptureFile.h"
#include "net/SyslogRecord.h"
#include "settings/Settings.h"

namespace messagelog {

// The Main window's parts that a record's arrival touches.
struct ArrivalTargets {
    bool captureOn;
    CaptureFile& captureFile;
    HWND list;
    const settings::Settings& settings;
};

// Writes the record's line when a Capture file is open, then shows it as a
// new row when ToDisplay is on, scrolling when Autoscroll is on. The record
// ends up owned by its row or released.
void ArriveRecord(net::RecordPtr record, const ArrivalTargets& targets);

}  // namespace messagelog
