// DiagnosticReporter.h: reporting a failure to the Diagnostics pane, from any thread.
#pragma once

#include "diag/DiagnosticText.h"
#include "diag/StatusCode.h"

namespace diag {

// Where finished texts go on their way to the pane; callable from any thread.
class DiagnosticSink {
public:
    // An empty text is one that could not be made, for want of memory.
    virtual void Deliver(DiagnosticText text) = 0;

protected:
    ~DiagnosticSink() = default;
};

// The one sink of the process, or null: then reports are lost.
void SetDiagnosticSink(DiagnosticSink* sink);

// Formats the report on the calling thread and hands it to the sink.
// Never fails its caller: a report that cannot be made is handed on empty,
// for the sink to count; with no sink, reports are lost.
void Report(StatusCode status, const wchar_t* format, ...);

// "Cannot <what>: out of memory", with the out-of-memory status's code line.
void ReportOutOfMemory(const wchar_t* what);

}  // namespace diag
