// DiagnosticText.cpp: formatting a report, with the system's text for its status code.
#include "diag/DiagnosticText.h"

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <new>

namespace diag {

namespace {

constexpr size_t kRoomBeyondFormat = 1024;
// Shown when the system has no text of its own for a status code.
const wchar_t kNoSystemText[] = L"No description is available for this code.\r\n";

std::atomic<long> g_textsAlive{0};

// Formats into [buffer, buffer + capacity) and answers the characters written,
// cutting (and terminating) whatever does not fit. The wide printf of the
// Windows runtime reads "%s" as a wide string.
size_t FormatInto(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list arguments) {
    if (capacity == 0) return 0;
    const int written = _vsnwprintf(buffer, capacity, format, arguments);
    if (written < 0 || static_cast<size_t>(written) >= capacity) {
        buffer[capacity - 1] = L'\0';
        return capacity - 1;
    }
    return static_cast<size_t>(written);
}

size_t FormatInto(wchar_t* buffer, size_t capacity, const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const size_t written = FormatInto(buffer, capacity, format, arguments);
    va_end(arguments);
    return written;
}

}  // namespace

void DiagnosticTextDeleter::operator()(wchar_t* text) const {
    delete[] text;
    --g_textsAlive;
}

size_t DiagnosticTextBytes(const wchar_t* text) {
    return (wcslen(text) + 1 + kRoomBeyondFormat) * sizeof(wchar_t);
}

long DiagnosticTextsAlive() {
    return g_textsAlive.load();
}

DiagnosticText FormatDiagnostic(StatusCode status, const wchar_t* format, va_list arguments) {
    const size_t capacity = wcslen(format) + kRoomBeyondFormat;
    DiagnosticText text(new (std::nothrow) wchar_t[capacity]);
    if (!text) return text;
    ++g_textsAlive;

    const size_t length = FormatInto(text.get(), capacity, format, arguments);
    if (status != S_OK) {
        wchar_t* systemText = nullptr;
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                           FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, static_cast<DWORD>(status), LANG_USER_DEFAULT,
                       reinterpret_cast<wchar_t*>(&systemText), 0, nullptr);
        FormatInto(text.get() + length, capacity - length, L"\r\n[%#x] %s", static_cast<unsigned>(status),
                   systemText ? systemText : kNoSystemText);
        if (systemText) LocalFree(systemText);
    }
    return text;
}

DiagnosticText MakeDiagnostic(StatusCode status, const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    DiagnosticText text = FormatDiagnostic(status, format, arguments);
    va_end(arguments);
    return text;
}

}  // namespace diag
