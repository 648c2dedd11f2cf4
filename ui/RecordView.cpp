// RecordView.cpp: the texts go into the view's edit boxes as the list shows them.
#include "ui/RecordView.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>

#include "net/DottedQuad.h"
#include "records/ArrivalTime.h"
#include "records/ShownText.h"
#include "records/SyslogHeader.h"
#include "res/resource.h"

namespace ui {

namespace {

constexpr size_t kReceivedCapacity = sizeof "Received 2026-12-08 05:37:27.123";
// Beyond the fields' own text: their names, line ends, the facility's and the severity's names.
constexpr size_t kFieldLinesRoom = 128;

// The moment of arrival in the user's local time, to the millisecond.
void FormatReceived(std::uint64_t receivedAt, char (&text)[kReceivedCapacity]) {
    SYSTEMTIME at;
    if (!records::LocalArrival(receivedAt, at)) {
        text[0] = '\0';
        return;
    }
    std::snprintf(text, sizeof text, "Received %04u-%02u-%02u %02u:%02u:%02u.%03u", at.wYear, at.wMonth, at.wDay,
                  at.wHour, at.wMinute, at.wSecond, at.wMilliseconds);
}

// Appends one line for the header's fields, into room made for all of them.
class FieldLines {
public:
    FieldLines(const records::StoredRow& row, wchar_t* text, size_t capacity)
        : row_(row), utf8_(records::IsShownAsUtf8(row.message, row.messageLength)), text_(text), capacity_(capacity) {
        text_[0] = L'\0';
    }

    void Add(const char* name, const records::FieldSpan& field) {
        if (field.length == 0) return;
        Start(name);
        length_ += records::WriteShownPart(row_.message + field.offset, field.length, utf8_, text_ + length_,
                                           capacity_ - length_);
    }

    void Add(const char* name, const char* value) {
        Start(name);
        AddAscii(value);
    }

private:
    void Start(const char* name) {
        if (length_ > 0) AddAscii("\r\n");
        AddAscii(name);
        AddAscii(": ");
    }
    void AddAscii(const char* ascii) {
        for (; *ascii && length_ + 1 < capacity_; ++ascii) text_[length_++] = static_cast<wchar_t>(*ascii);
        text_[length_] = L'\0';
    }

    const records::StoredRow& row_;
    const bool utf8_;
    wchar_t* text_;
    size_t capacity_;
    size_t length_ = 0;
};

void ShowFields(HWND box, const records::StoredRow& row) {
    const size_t capacity = row.messageLength + kFieldLinesRoom;
    const std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[capacity]);
    if (!text) return;
    const records::SyslogHeader header = records::ReadSyslogHeader(row.message, row.messageLength);
    FieldLines lines(row, text.get(), capacity);
    lines.Add("Host", header.host);
    lines.Add("App", header.app);
    lines.Add("PID", header.pid);
    if (header.priority != records::kNoPriority) {
        lines.Add("Facility", records::FacilityName(records::FacilityOf(header.priority)));
        lines.Add("Severity", records::SeverityName(records::SeverityOf(header.priority)));
    }
    lines.Add("Time", header.time);
    lines.Add("MsgID", header.msgId);
    SetWindowTextW(box, text.get());
}

// Decoded as the list shows it; without the memory for that, the bytes as they are.
void ShowMessage(HWND box, const records::StoredRow& row) {
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    const std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[row.messageLength + 1]);
    if (!text) {
        SetWindowTextA(box, row.message);
        return;
    }
    records::WriteShownText(row.message, row.messageLength, text.get(), row.messageLength + 1);
    SetWindowTextW(box, text.get());
}

}  // namespace

// The edit boxes keep their own copies, so the row is not needed after this.
bool RecordView::OnInit() {
    char sender[net::kDottedQuadCapacity];
    net::FormatDottedQuad(row_.senderAddress, sender);
    SetDlgItemTextA(Handle(), IDC_RECORD_SENDER, sender);
    char received[kReceivedCapacity];
    FormatReceived(row_.receivedAt, received);
    SetDlgItemTextA(Handle(), IDC_RECORD_RECEIVED, received);
    ShowMessage(GetDlgItem(Handle(), IDC_RECORD_MESSAGE), row_);
    ShowFields(GetDlgItem(Handle(), IDC_RECORD_FIELDS), row_);
    // Focus on OK, so Enter and Escape close the view instead of going to the text.
    SetFocus(GetDlgItem(Handle(), IDOK));
    return false;
}

void ShowRecordView(HWND owner, const records::StoredRow& row) {
    RecordView view(row);
    view.RunModal(owner, IDD_RECORD_VIEW);
}

}  // namespace ui
