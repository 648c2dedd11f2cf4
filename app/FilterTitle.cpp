// FilterTitle.cpp: the counts grouped by the system's number format with no decimals.
#include "app/FilterTitle.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/MainWindowClassName.h"

namespace app {

namespace {

constexpr int kLocaleTextCapacity = 8;

UINT LocaleNumber(LCTYPE what) {
    char text[kLocaleTextCapacity] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, what, text, kLocaleTextCapacity);
    return static_cast<UINT>(std::strtoul(text, nullptr, 10));
}

// The locale's grouping "3;0" (thousands) or "3;2;0" (lakhs) as NUMBERFMT wants it: 3 or 32.
UINT LocaleGrouping() {
    char text[kLocaleTextCapacity] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, text, kLocaleTextCapacity);
    UINT grouping = 0;
    for (const char* at = text; *at; ++at)
        if (*at >= '1' && *at <= '9') grouping = grouping * 10 + static_cast<UINT>(*at - '0');
    return grouping;
}

}  // namespace

void FormatGroupedCount(size_t count, char (&text)[kCountCapacity]) {
    char digits[kCountCapacity];
    std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(count));
    char decimal[kLocaleTextCapacity] = {};
    char thousand[kLocaleTextCapacity] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, kLocaleTextCapacity);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, kLocaleTextCapacity);
    NUMBERFMTA format{};
    format.NumDigits = 0;
    format.LeadingZero = LocaleNumber(LOCALE_ILZERO);
    format.Grouping = LocaleGrouping();
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER);
    if (!GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits, &format, text, kCountCapacity))
        std::snprintf(text, kCountCapacity, "%s", digits);
}

void FormatMainWindowTitle(bool filterInForce, size_t shownRows, size_t heldRows, char (&title)[kTitleCapacity]) {
    if (!filterInForce) {
        std::snprintf(title, kTitleCapacity, "%s", kMainWindowTitle);
        return;
    }
    char shown[kCountCapacity];
    char held[kCountCapacity];
    FormatGroupedCount(shownRows, shown);
    FormatGroupedCount(heldRows, held);
    std::snprintf(title, kTitleCapacity, "%s - %s of %s rows shown", kMainWindowTitle, shown, held);
}

}  // namespace app
