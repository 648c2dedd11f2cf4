// ShownText.cpp: UTF-8 checked and decoded here; the 8-bit code page is left to the system's conversion.
#include "records/ShownText.h"

#include <windows.h>

#include <climits>

namespace records {

namespace {

constexpr char32_t kByteOrderMark = 0xFEFF;
constexpr char32_t kFirstOutsideBasicPlane = 0x10000;
constexpr wchar_t kHighSurrogate = 0xD800;
constexpr wchar_t kLowSurrogate = 0xDC00;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at at (1 for an ASCII byte), or 0
// when the bytes there are not one.
size_t SequenceLength(const unsigned char* text, size_t at, size_t length) {
    const unsigned char lead = text[at];
    if (lead < 0x80) return 1;
    size_t count = 0;
    // The second byte's range, narrowed where the lead would allow overlong or out-of-range forms.
    unsigned char lowest = 0x80;
    unsigned char highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3;
        if (lead == 0xE0) lowest = 0xA0;   // overlong
        if (lead == 0xED) highest = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4;
        if (lead == 0xF0) lowest = 0x90;   // overlong
        if (lead == 0xF4) highest = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    if (length - at < count) return 0;
    if (text[at + 1] < lowest || text[at + 1] > highest) return 0;
    for (size_t i = 2; i < count; ++i)
        if (!IsContinuation(text[at + i])) return 0;
    return count;
}

char32_t DecodeSequence(const unsigned char* text, size_t count) {
    static const unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code = text[0] & kLeadBits[count];
    for (size_t i = 1; i < count; ++i) code = (code << 6) | (text[i] & 0x3F);
    return code;
}

wchar_t Shown(wchar_t c) {
    return c == L'\t' ? L' ' : c;
}

// The code point at at, valid UTF-8 of count bytes, as one or two wide
// characters; answers how many (0 for a byte order mark, which is not shown).
size_t ShownCharacters(const unsigned char* text, size_t count, wchar_t (&out)[2]) {
    const char32_t code = DecodeSequence(text, count);
    if (code == kByteOrderMark) return 0;
    if (code < kFirstOutsideBasicPlane) {
        out[0] = Shown(static_cast<wchar_t>(code));
        return 1;
    }
    const char32_t above = code - kFirstOutsideBasicPlane;
    out[0] = static_cast<wchar_t>(kHighSurrogate + (above >> 10));
    out[1] = static_cast<wchar_t>(kLowSurrogate + (above & 0x3FF));
    return 2;
}

// Bytes found valid UTF-8, decoded while whole characters fit.
size_t WriteUtf8(const unsigned char* text, size_t length, wchar_t* out, size_t room) {
    size_t written = 0;
    for (size_t at = 0; at < length;) {
        const size_t count = SequenceLength(text, at, length);
        wchar_t shown[2];
        const size_t characters = ShownCharacters(text + at, count, shown);
        if (room - written < characters) break;
        for (size_t i = 0; i < characters; ++i) out[written++] = shown[i];
        at += count;
    }
    return written;
}

// Every sequence valid, ASCII included.
bool IsWholeUtf8(const unsigned char* text, size_t length) {
    for (size_t at = 0; at < length;) {
        const size_t count = SequenceLength(text, at, length);
        if (count == 0) return false;
        at += count;
    }
    return true;
}

bool IsDoubleByte(unsigned codePage) {
    CPINFO info;
    return GetCPInfo(codePage, &info) && info.MaxCharSize == 2;
}

// The end of the first `most` characters of a double-byte code page that lie
// within byteLimit; a lead byte that ends the text counts alone.
size_t CharactersEnd(const char* text, size_t length, size_t most, size_t byteLimit, unsigned codePage) {
    size_t at = 0;
    for (size_t count = 0; at < length && count < most; ++count) {
        const size_t step = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[at])) && at + 1 < length ? 2 : 1;
        if (at + step > byteLimit) break;
        at += step;
    }
    return at;
}

int Convert(const char* text, size_t take, wchar_t* out, size_t room, unsigned codePage) {
    if (take == 0) return 0;
    return MultiByteToWideChar(codePage, 0, text, static_cast<int>(take), out, static_cast<int>(room));
}

// A double-byte code page's character is one wide character, so as many as
// there is room for are converted; should a damaged pair give two, as many
// bytes as there is room for, since no code page gives more characters than
// bytes. A cut never splits a pair.
size_t WriteCodePage(const char* text, size_t length, wchar_t* out, size_t room, unsigned codePage) {
    if (length > INT_MAX) length = INT_MAX;
    if (room > INT_MAX) room = INT_MAX;
    int written = 0;
    if (length <= room) {
        written = Convert(text, length, out, room, codePage);
    } else if (!IsDoubleByte(codePage)) {
        written = Convert(text, room, out, room, codePage);
    } else {
        written = Convert(text, CharactersEnd(text, length, room, length, codePage), out, room, codePage);
        if (written == 0) written = Convert(text, CharactersEnd(text, length, room, room, codePage), out, room, codePage);
    }
    for (int i = 0; i < written; ++i) out[i] = Shown(out[i]);
    return written > 0 ? static_cast<size_t>(written) : 0;
}

// utf8: the bytes are valid UTF-8 and are to be decoded so.
size_t WriteShown(const char* bytes, size_t length, bool utf8, wchar_t* out, size_t capacity, unsigned codePage) {
    if (capacity == 0) return 0;
    const size_t room = capacity - 1;
    const size_t written = utf8 ? WriteUtf8(reinterpret_cast<const unsigned char*>(bytes), length, out, room)
                                : WriteCodePage(bytes, length, out, room, codePage);
    out[written] = L'\0';
    return written;
}

}  // namespace

bool IsShownAsUtf8(const char* bytes, size_t length) {
    const auto* text = reinterpret_cast<const unsigned char*>(bytes);
    bool above7F = false;
    for (size_t at = 0; at < length;) {
        const size_t count = SequenceLength(text, at, length);
        if (count == 0) return false;
        above7F = above7F || count > 1;
        at += count;
    }
    return above7F;
}

size_t WriteShownText(const char* bytes, size_t length, wchar_t* out, size_t capacity, unsigned codePage) {
    return WriteShown(bytes, length, IsShownAsUtf8(bytes, length), out, capacity, codePage);
}

size_t WriteShownPart(const char* bytes, size_t length, bool asUtf8, wchar_t* out, size_t capacity,
                      unsigned codePage) {
    const bool utf8 = asUtf8 && IsWholeUtf8(reinterpret_cast<const unsigned char*>(bytes), length);
    return WriteShown(bytes, length, utf8, out, capacity, codePage);
}

bool ShownUtf8Reader::Next(wchar_t& out) {
    if (lowSurrogate_) {
        out = lowSurrogate_;
        lowSurrogate_ = 0;
        return true;
    }
    while (at_ < length_) {
        const size_t count = SequenceLength(text_, at_, length_);
        if (count == 0) return false;  // bytes that are no UTF-8 after all end the text
        wchar_t shown[2];
        const size_t characters = ShownCharacters(text_ + at_, count, shown);
        at_ += count;
        if (characters == 0) continue;
        out = shown[0];
        if (characters == 2) lowSurrogate_ = shown[1];
        return true;
    }
    return false;
}

}  // namespace records
