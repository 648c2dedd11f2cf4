// RowsKeptNotices.cpp: the counts as the user's locale writes them.
#include "app/RowsKeptNotices.h"

#include "diag/DiagnosticReporter.h"
#include "win/LocaleNumber.h"

namespace app {

void RowsKeptNotices::Admitted(const records::Admission& admission, bool hold, size_t keepRowsSet,
                               size_t keepRowsNow, bool captureFileOpen) {
    Departed(admission.departure, keepRowsSet, captureFileOpen);
    if (admission.keepShrank) {
        wchar_t kept[win::kGroupedCountCapacity];
        win::FormatGroupedCount(keepRowsNow, kept);
        diag::Report(S_OK, L"Out of memory for more rows: the list now keeps the newest %ls\n", kept);
    }
    if (hold && !admission.held && !toldNotKept_) {
        diag::ReportOutOfMemory(L"keep more rows");
        toldNotKept_ = true;
    }
}

void RowsKeptNotices::Departed(const records::Departure& departure, size_t keepRowsSet, bool captureFileOpen) {
    if (!departure.firstTime) return;
    wchar_t kept[win::kGroupedCountCapacity];
    win::FormatGroupedCount(keepRowsSet, kept);
    diag::Report(S_OK,
                 captureFileOpen ? L"The list keeps the newest %ls rows; older rows now leave it as new ones arrive "
                                   L"(the Capture file keeps every message)\n"
                                 : L"The list keeps the newest %ls rows; older rows now leave it as new ones arrive\n",
                 kept);
}

}  // namespace app
