// DiagnosticText.h: the owned wide text of one diagnostic, and how it is formatted.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <memory>

#include "diag/StatusCode.h"

namespace diag {

struct DiagnosticTextDeleter {
    void operator()(wchar_t* text) const;
};
// A diagnostic text on its way to the pane; whoever holds it releases it.
using DiagnosticText = std::unique_ptr<wchar_t[], DiagnosticTextDeleter>;

// Formats the text of one report: the format with its arguments and, for a
// non-zero status, a line with the code and the system's text for it. Cut to
// the length of the format plus 1024 characters, always terminated. Empty when
// no memory could be had.
DiagnosticText FormatDiagnostic(StatusCode status, const wchar_t* format, va_list arguments);
// The same, from the arguments themselves.
DiagnosticText MakeDiagnostic(StatusCode status, const wchar_t* format, ...);

// About the bytes a formatted text holds: its length and the room it was given beyond its format.
size_t DiagnosticTextBytes(const wchar_t* text);

// How many diagnostic texts exist right now, for checking that each is released once.
long DiagnosticTextsAlive();

}  // namespace diag
