// UserMessages.h: the messages that carry owned data to the Main window.
#pragma once

#include <windows.h>

// Long parameter: an owned diagnostic text (diag::DiagnosticText).
constexpr UINT UM_DIAGNOSTIC_TEXT = WM_USER + 1;
// Long parameter: an owned Syslog record (net::RecordPtr).
constexpr UINT UM_SYSLOG_RECORD = WM_USER + 2;
