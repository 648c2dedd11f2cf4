// ShownTextTest.cpp: which messages are shown as UTF-8, and the wide text written for them, cut to the room given.
#include <gtest/gtest.h>

#include <string>

#include "records/ShownText.h"
#include "tests/records/GuardedBytes.h"

namespace {

constexpr unsigned kWesternEurope = 1252;
constexpr unsigned kJapanese = 932;  // a double-byte code page
constexpr size_t kRoomy = 64;
const wchar_t kUntouched = L'#';

struct Case {
    std::string bytes;
    bool utf8;
    size_t capacity;
    unsigned codePage;
    std::wstring shown;
};

// Written into a buffer one past its capacity with a mark, so a write past
// the capacity shows; the bytes end right before a page no one may touch.
std::wstring Shown(const Case& c, bool& utf8, size_t& written) {
    const guarded::GuardedBytes bytes(c.bytes);
    utf8 = records::IsShownAsUtf8(bytes.Data(), bytes.Length());
    std::wstring buffer(c.capacity + 1, kUntouched);
    written = records::WriteShownText(bytes.Data(), bytes.Length(), &buffer[0], c.capacity, c.codePage);
    return buffer;
}

TEST(ShownText, ValidUtf8WithBytesAbove7FIsDecodedAndAnythingElseTakesTheCodePage) {
    const Case cases[] = {
        {"Z\xC3\xBCrich \xE2\x80\x94 \xE2\x82\xAC" "12,50", true, kRoomy, kWesternEurope,
         L"Z\u00FCrich \u2014 \u20AC12,50"},
        {"Z\xFCrich", false, kRoomy, kWesternEurope, L"Z\u00FCrich"},
        {"caf\xC3\xA9 in 1252", true, kRoomy, kWesternEurope, L"caf\u00E9 in 1252"},
        {"pure ASCII", false, kRoomy, kWesternEurope, L"pure ASCII"},
        {"", false, kRoomy, kWesternEurope, L""},
        {"\xEF\xBB\xBFhello", true, kRoomy, kWesternEurope, L"hello"},
        {"\xEF\xBB\xBF", true, kRoomy, kWesternEurope, L""},
        {"\xEF\xBB\xBFZ\xFCrich", false, kRoomy, kWesternEurope, L"\u00EF\u00BB\u00BFZ\u00FCrich"},
        {"a\tb\t\tc", false, kRoomy, kWesternEurope, L"a b  c"},
        {"\xC3\xBC\tx", true, kRoomy, kWesternEurope, L"\u00FC x"},
        {"\xF0\x9F\x98\x80!", true, kRoomy, kWesternEurope, L"\U0001F600!"},
        {"\xF4\x8F\xBF\xBF", true, kRoomy, kWesternEurope, L"\U0010FFFF"},
        {"\xED\x9F\xBF", true, kRoomy, kWesternEurope, L"\uD7FF"},
        {"\xEE\x80\x80", true, kRoomy, kWesternEurope, L"\uE000"},
        // Cut sequences, overlong forms, surrogates and code points past U+10FFFF are no UTF-8.
        {"Z\xC3", false, kRoomy, kWesternEurope, L"Z\u00C3"},
        {"\xE2\x82", false, kRoomy, kWesternEurope, L"\u00E2\u201A"},
        {"\xF0\x9F\x98", false, kRoomy, kWesternEurope, L"\u00F0\u0178\u02DC"},
        {"\xC3x", false, kRoomy, kWesternEurope, L"\u00C3x"},
        {"\xE2\x82x", false, kRoomy, kWesternEurope, L"\u00E2\u201Ax"},
        {"\x80", false, kRoomy, kWesternEurope, L"\u20AC"},
        {"\xC0\xAF", false, kRoomy, kWesternEurope, L"\u00C0\u00AF"},
        {"\xC1\xBF", false, kRoomy, kWesternEurope, L"\u00C1\u00BF"},
        {"\xE0\x80\xAF", false, kRoomy, kWesternEurope, L"\u00E0\u20AC\u00AF"},
        {"\xF0\x80\x80\xAF", false, kRoomy, kWesternEurope, L"\u00F0\u20AC\u20AC\u00AF"},
        {"\xED\xA0\x80", false, kRoomy, kWesternEurope, L"\u00ED\u00A0\u20AC"},
        {"\xED\xBF\xBF", false, kRoomy, kWesternEurope, L"\u00ED\u00BF\u00BF"},
        {"\xF4\x90\x80\x80", false, kRoomy, kWesternEurope, L"\u00F4\u0090\u20AC\u20AC"},
        {"\xF5\x80\x80\x80", false, kRoomy, kWesternEurope, L"\u00F5\u20AC\u20AC\u20AC"},
        {"\xFF", false, kRoomy, kWesternEurope, L"\u00FF"},
        // The room: nothing at all for 0, the terminator alone for 1, whole characters up to it.
        {"hello", false, 0, kWesternEurope, L""},
        {"hello", false, 1, kWesternEurope, L""},
        {"hello", false, 3, kWesternEurope, L"he"},
        {"hello", false, 6, kWesternEurope, L"hello"},
        {"Z\xC3\xBCrich", true, 0, kWesternEurope, L""},
        {"Z\xC3\xBCrich", true, 1, kWesternEurope, L""},
        {"Z\xC3\xBCrich", true, 3, kWesternEurope, L"Z\u00FC"},
        {"\xF0\x9F\x98\x80!", true, 2, kWesternEurope, L""},
        {"\xF0\x9F\x98\x80!", true, 3, kWesternEurope, L"\U0001F600"},
        {"a\xF0\x9F\x98\x80", true, 3, kWesternEurope, L"a"},
        {"\x82\xA0\x82\xA2", false, kRoomy, kJapanese, L"\u3042\u3044"},
        {"\x82\xA0\x82\xA2", false, 2, kJapanese, L"\u3042"},
        {"a\x82\xA0", false, 2, kJapanese, L"a"},
        {"a\x82\xA0", false, 3, kJapanese, L"a\u3042"},
        {"a\tb\x82\xA0", false, kRoomy, kJapanese, L"a b\u3042"},
    };
    for (const Case& c : cases) {
        const std::string what = "bytes " + ::testing::PrintToString(c.bytes) + ", capacity " +
                                 std::to_string(c.capacity) + ", code page " + std::to_string(c.codePage);
        bool utf8 = false;
        size_t written = 0;
        const std::wstring buffer = Shown(c, utf8, written);
        EXPECT_EQ(c.utf8, utf8) << what;
        EXPECT_EQ(c.shown.size(), written) << what;
        std::wstring expected = c.shown;
        if (c.capacity > 0) expected += L'\0';
        expected.append(c.capacity + 1 - expected.size(), kUntouched);
        EXPECT_EQ(expected, buffer) << what;
        if (!c.utf8 || c.capacity != kRoomy) continue;
        // Read a character at a time, as Find reads it, the text is the same.
        records::ShownUtf8Reader reader(c.bytes.data(), c.bytes.size());
        std::wstring read;
        for (wchar_t character; reader.Next(character);) read += character;
        EXPECT_EQ(c.shown, read) << what;
    }
}

// A field is shown as its whole message is; a part that is not whole UTF-8
// by itself (cut in a character) takes the code page rather than be misread.
TEST(ShownText, APartOfAMessageIsShownAsTheWholeIs) {
    struct Part {
        std::string bytes;
        bool asUtf8;
        std::wstring shown;
    };
    const Part parts[] = {
        {"Z\xC3\xBCrich", true, L"Z\u00FCrich"},
        {"Z\xC3\xBCrich", false, L"Z\u00C3\u00BCrich"},
        {"web01", true, L"web01"},
        {"\xEF\xBB\xBFx\ty", true, L"x y"},
        {"Z\xC3", true, L"Z\u00C3"},
        {"\xBC" "rich", true, L"\u00BC" "rich"},
    };
    for (const Part& part : parts) {
        const guarded::GuardedBytes bytes(part.bytes);
        std::wstring buffer(kRoomy, kUntouched);
        const size_t written =
            records::WriteShownPart(bytes.Data(), bytes.Length(), part.asUtf8, &buffer[0], kRoomy, kWesternEurope);
        EXPECT_EQ(part.shown, buffer.substr(0, written)) << ::testing::PrintToString(part.bytes);
        EXPECT_EQ(L'\0', buffer[written]);
    }
}

}  // namespace
