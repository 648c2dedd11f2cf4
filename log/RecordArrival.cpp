// RecordArrival.cpp: the file first, then the row, then the scroll.
#include "log/RecordArrival.h"

#include "diag/DiagnosticReporter.h"
#include "log/MessageList.h"

namespace messagelog {

namespace {

// Moves the view down by one list height; the control stops at the last row.
void ScrollByOneListHeight(HWND list) {
    RECT outer;
    GetWindowRect(list, &outer);
    SendMessageA(list, LVM_SCROLL, 0, outer.bottom - outer.top);
}

}  // namespace

void ArriveRecord(net::RecordPtr record, const ArrivalTargets& targets) {
    if (!targets.captureOn) return;

    if (targets.captureFile.IsOpen()) {
        const StatusCode written = targets.captureFile.Write(*record);
        if (written < 0) {
            diag::Report(written, L"Failed to write in file\n");
            targets.captureFile.Close();
        }
    }
    if (!targets.settings.ToDisplay) return;

    AppendRow(targets.list, std::move(record));
    if (targets.settings.Autoscroll) ScrollByOneListHeight(targets.list);
}

}  // namespace messagelog
