// TextMatcher.cpp: the bytes first, wide characters only for UTF-8 text; allocation-free per row.
#include "records/TextMatcher.h"

#include <windows.h>

#include <cstring>

#include "records/ShownText.h"

namespace records {

namespace {

bool IsAbove7F(unsigned char byte) {
    return byte > 0x7F;
}

}  // namespace

TextMatcher::TextMatcher(const char* text, bool matchCase)
    : wanted_(reinterpret_cast<const unsigned char*>(text)), matchCase_(matchCase) {
    for (int byte = 0; byte < 256; ++byte) {
        char folded = static_cast<char>(byte);
        if (!matchCase && byte != 0) CharLowerBuffA(&folded, 1);
        fold_[byte] = static_cast<unsigned char>(folded);
    }
    fold_[static_cast<unsigned char>('\t')] = ' ';
    const int length = MultiByteToWideChar(kSystemCodePage, 0, text, -1, nullptr, 0);
    if (length <= 1) return;
    wantedWide_.resize(static_cast<size_t>(length));
    MultiByteToWideChar(kSystemCodePage, 0, text, -1, &wantedWide_[0], length);
    wantedWide_.pop_back();
    for (wchar_t& c : wantedWide_) c = Folded(c);
}

wchar_t TextMatcher::Folded(wchar_t c) const {
    if (c == L'\t') return L' ';
    if (matchCase_) return c;
    if (c < 0x80) return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    CharLowerBuffW(&c, 1);
    return c;
}

// Notes whether the bytes it went over hold one above 0x7F; at a match it stops.
bool TextMatcher::FoundInBytes(const unsigned char* text, bool& above7F) const {
    for (const unsigned char* at = text; *at; ++at) {
        above7F = above7F || IsAbove7F(*at);
        if (fold_[*at] != fold_[wanted_[0]]) continue;
        size_t matched = 1;
        while (wanted_[matched] && at[matched] && fold_[at[matched]] == fold_[wanted_[matched]]) ++matched;
        if (!wanted_[matched]) return true;
    }
    return false;
}

bool TextMatcher::FoundInUtf8(const char* text, size_t length) const {
    ShownUtf8Reader start(text, length);
    for (;;) {
        ShownUtf8Reader at = start;
        size_t matched = 0;
        wchar_t c;
        while (matched < wantedWide_.size() && at.Next(c) && Folded(c) == wantedWide_[matched]) ++matched;
        if (matched == wantedWide_.size()) return true;
        if (!start.Next(c)) return false;
    }
}

// Most texts are ASCII and are gone over once; a text with a byte above 0x7F
// is shown as UTF-8 only when all of it is UTF-8, so it is measured then.
bool TextMatcher::FoundIn(const char* text) const {
    if (!wanted_[0]) return true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    bool above7F = false;
    const bool found = FoundInBytes(bytes, above7F);
    if (!found && !above7F) return false;
    const size_t length = std::strlen(text);
    for (size_t at = 0; at < length && !above7F; ++at) above7F = IsAbove7F(bytes[at]);
    if (!above7F || !IsShownAsUtf8(text, length)) return found;
    return !wantedWide_.empty() && FoundInUtf8(text, length);
}

bool TextMatcher::MayBeInSender() const {
    for (const unsigned char* at = wanted_; *at; ++at)
        if (*at != '.' && (*at < '0' || *at > '9')) return false;
    return true;
}

}  // namespace records
