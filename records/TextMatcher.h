// TextMatcher.h: a text looked for in a row's texts, as they are shown.
#pragma once

#include <cstddef>
#include <string>

namespace records {

// The text looked for, as the 8-bit code page has it (how it is typed), with
// or without regard to case. A text is searched as it is shown: one shown in
// the code page byte by byte, case as the code page has it; one shown as
// UTF-8 in its wide characters, the text looked for converted from the code
// page. A tab matches a space, as it is shown as one. It refers to the text,
// which must outlive it; only its wide form is made once here, so a search
// allocates nothing per row.
class TextMatcher {
public:
    TextMatcher(const char* text, bool matchCase);
    bool FoundIn(const char* text) const;
    // Whether the text could be in a sender's dotted quad at all: digits and dots alone.
    bool MayBeInSender() const;

private:
    bool FoundInBytes(const unsigned char* text, bool& above7F) const;
    bool FoundInUtf8(const char* text, size_t length) const;
    wchar_t Folded(wchar_t c) const;

    const unsigned char* wanted_;
    unsigned char fold_[256];
    std::wstring wantedWide_;  // folded
    bool matchCase_;
};

}  // namespace records
