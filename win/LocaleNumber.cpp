// LocaleNumber.cpp: the system's number format with no decimals, and its group separator read back.
#include "win/LocaleNumber.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <cwctype>

namespace win {

namespace {

constexpr int kLocaleTextCapacity = 8;

UINT LocaleNumber(LCTYPE what) {
    wchar_t text[kLocaleTextCapacity] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, what, text, kLocaleTextCapacity);
    return static_cast<UINT>(std::wcstoul(text, nullptr, 10));
}

// The locale's grouping "3;0" (thousands) or "3;2;0" (lakhs) as NUMBERFMT wants it: 3 or 32.
UINT LocaleGrouping() {
    wchar_t text[kLocaleTextCapacity] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, text, kLocaleTextCapacity);
    UINT grouping = 0;
    for (const wchar_t* at = text; *at; ++at)
        if (*at >= L'1' && *at <= L'9') grouping = grouping * 10 + static_cast<UINT>(*at - L'0');
    return grouping;
}

// Plain digits, a '.' before the decimals, as the locale writes them.
void FormatDigits(const wchar_t* digits, int decimals, wchar_t (&text)[kGroupedCountCapacity]) {
    wchar_t decimal[kLocaleTextCapacity] = {};
    wchar_t thousand[kLocaleTextCapacity] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, kLocaleTextCapacity);
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, kLocaleTextCapacity);
    NUMBERFMTW format{};
    format.NumDigits = static_cast<UINT>(decimals);
    format.LeadingZero = LocaleNumber(LOCALE_ILZERO);
    format.Grouping = LocaleGrouping();
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER);
    if (!GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits, &format, text, kGroupedCountCapacity))
        std::swprintf(text, kGroupedCountCapacity, L"%ls", digits);
}

}  // namespace

void FormatGroupedCount(size_t count, wchar_t (&text)[kGroupedCountCapacity]) {
    wchar_t digits[kGroupedCountCapacity];
    std::swprintf(digits, kGroupedCountCapacity, L"%llu", static_cast<unsigned long long>(count));
    FormatDigits(digits, 0, text);
}

void FormatGroupedNumber(double value, int decimals, wchar_t (&text)[kGroupedCountCapacity]) {
    constexpr int kMostDecimals = 3;
    constexpr double kLargest = 1e18;  // what fits in the digits' room
    const int shown = decimals < 0 ? 0 : decimals > kMostDecimals ? kMostDecimals : decimals;
    const double clamped = value < 0 ? 0 : value > kLargest ? kLargest : value;
    wchar_t digits[kGroupedCountCapacity];
    std::swprintf(digits, kGroupedCountCapacity, L"%.*f", shown, clamped);
    FormatDigits(digits, shown, text);
}

// In the system's 8-bit code page, as the 8-bit windows show text.
void FormatGroupedCount(size_t count, char (&text)[kGroupedCountCapacity]) {
    wchar_t wide[kGroupedCountCapacity];
    FormatGroupedCount(count, wide);
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, text, kGroupedCountCapacity, nullptr, nullptr))
        std::snprintf(text, kGroupedCountCapacity, "%llu", static_cast<unsigned long long>(count));
}

bool ReadGroupedCount(const wchar_t* text, size_t& count) {
    wchar_t separator[kLocaleTextCapacity] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, kLocaleTextCapacity);
    const size_t separatorLength = std::wcslen(separator);
    while (std::iswspace(*text)) ++text;
    std::uint64_t value = 0;
    bool lastWasDigit = false;
    for (; *text && !std::iswspace(*text); ++text) {
        if (*text >= L'0' && *text <= L'9') {
            value = value * 10 + static_cast<std::uint64_t>(*text - L'0');
            if (value > SIZE_MAX / 10) return false;
            lastWasDigit = true;
        } else if (lastWasDigit && separatorLength > 0 && std::wcsncmp(text, separator, separatorLength) == 0 &&
                   text[separatorLength] >= L'0' && text[separatorLength] <= L'9') {
            text += separatorLength - 1;
            lastWasDigit = false;
        } else {
            return false;
        }
    }
    while (std::iswspace(*text)) ++text;
    if (*text || !lastWasDigit) return false;
    count = static_cast<size_t>(value);
    return true;
}

}  // namespace win
