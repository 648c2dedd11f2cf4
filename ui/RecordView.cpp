// RecordView.cpp: the texts go into the view's edit boxes as they are.
#include "ui/RecordView.h"

#include <cstdint>
#include <cstdio>

#include "net/DottedQuad.h"
#include "res/resource.h"

namespace ui {

namespace {

constexpr size_t kReceivedCapacity = sizeof "Received 2026-12-08 05:37:27.123";

// The moment of arrival in the user's local time, to the millisecond.
void FormatReceived(std::uint64_t receivedAt, char (&text)[kReceivedCapacity]) {
    const FILETIME utc{static_cast<DWORD>(receivedAt), static_cast<DWORD>(receivedAt >> 32)};
    SYSTEMTIME universal;
    SYSTEMTIME at;
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &at)) {
        text[0] = '\0';
        return;
    }
    std::snprintf(text, sizeof text, "Received %04u-%02u-%02u %02u:%02u:%02u.%03u", at.wYear, at.wMonth, at.wDay,
                  at.wHour, at.wMinute, at.wSecond, at.wMilliseconds);
}

}  // namespace

// The 8-bit calls hand the bytes over unconverted, as the list shows them.
// The edit boxes keep their own copies, so the row is not needed after this.
bool RecordView::OnInit() {
    char sender[net::kDottedQuadCapacity];
    net::FormatDottedQuad(row_.senderAddress, sender);
    SetDlgItemTextA(Handle(), IDC_RECORD_SENDER, sender);
    char received[kReceivedCapacity];
    FormatReceived(row_.receivedAt, received);
    SetDlgItemTextA(Handle(), IDC_RECORD_RECEIVED, received);
    const HWND message = GetDlgItem(Handle(), IDC_RECORD_MESSAGE);
    SendMessageA(message, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(message, row_.message);
    // Focus on OK, so Enter and Escape close the view instead of going to the text.
    SetFocus(GetDlgItem(Handle(), IDOK));
    return false;
}

void ShowRecordView(HWND owner, const records::StoredRow& row) {
    RecordView view(row);
    view.RunModal(owner, IDD_RECORD_VIEW);
}

}  // namespace ui
