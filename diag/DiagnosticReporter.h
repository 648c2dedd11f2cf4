// DiagnosticReporter.h: reporting a failure to the Diagnostics pane, from any thread.
#pragma once

#include "diag/StatusCode.h"

namespace diag {

// Formats the report on the calling thread and posts it to the Main window.
// Never fails its caller: a report that cannot be delivered is lost.
void Report(StatusCode status, const wchar_t* format, ...);

}  // namespace diag
