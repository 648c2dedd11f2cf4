// DiagnosticReporter.cpp: format here, hand the text to the process's sink.
#include "diag/DiagnosticReporter.h"

#include <atomic>
#include <cstdarg>
#include <utility>

namespace diag {

namespace {
std::atomic<DiagnosticSink*> g_sink{nullptr};
}

void SetDiagnosticSink(DiagnosticSink* sink) {
    g_sink = sink;
}

void Report(StatusCode status, const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    DiagnosticText text = FormatDiagnostic(status, format, arguments);
    va_end(arguments);
    DiagnosticSink* const sink = g_sink;
    if (sink) sink->Deliver(std::move(text));
}

void ReportOutOfMemory(const wchar_t* what) {
    Report(E_OUTOFMEMORY, L"Cannot %ls: out of memory\n", what);
}

}  // namespace diag
