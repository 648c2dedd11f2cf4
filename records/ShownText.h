// ShownText.h: the wide text a message's bytes are shown as: UTF-8 when they clearly are, else the 8-bit code page.
#pragma once

#include <cstddef>

namespace records {

constexpr unsigned kSystemCodePage = 0;  // CP_ACP: the system's 8-bit code page

// True when the bytes are valid UTF-8 (no overlong forms, surrogates or code
// points past U+10FFFF, no cut sequence) and hold at least one byte above
// 0x7F: only then are they shown decoded as UTF-8.
bool IsShownAsUtf8(const char* bytes, size_t length);

// Writes the shown text of the bytes into out: at most capacity wide
// characters with the terminating zero, cut before a character that does not
// fit whole; nothing at all when capacity is 0. A tab is shown as one space
// and a UTF-8 byte order mark is left out. Gives the characters written less
// the zero. Allocates nothing, so it may run for every painted cell.
size_t WriteShownText(const char* bytes, size_t length, wchar_t* out, size_t capacity,
                      unsigned codePage = kSystemCodePage);

// The same for a part of a message, such as a header field, which is shown
// as the whole message is: asUtf8 is IsShownAsUtf8 of the whole. A part that
// is not whole UTF-8 by itself takes the code page.
size_t WriteShownPart(const char* bytes, size_t length, bool asUtf8, wchar_t* out, size_t capacity,
                      unsigned codePage = kSystemCodePage);

// The shown text of bytes IsShownAsUtf8 accepts, one wide character at a
// time, as WriteShownText writes it. A copy goes on from where it was made.
class ShownUtf8Reader {
public:
    ShownUtf8Reader(const char* bytes, size_t length)
        : text_(reinterpret_cast<const unsigned char*>(bytes)), length_(length) {}

    // The next wide character; false at the end.
    bool Next(wchar_t& out);

private:
    const unsigned char* text_;
    size_t length_;
    size_t at_ = 0;
    wchar_t lowSurrogate_ = 0;  // the second half of a pair, still to come
};

}  // namespace records
