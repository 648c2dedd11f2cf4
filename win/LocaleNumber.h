// LocaleNumber.h: whole numbers as the user's locale writes them, digits grouped.
#pragma once

#include <cstddef>

namespace win {

constexpr size_t kGroupedCountCapacity = 32;  // 20 digits and their separators

// The count with the user's locale's digit grouping ("1,234,567"), no decimals.
void FormatGroupedCount(size_t count, wchar_t (&text)[kGroupedCountCapacity]);
void FormatGroupedCount(size_t count, char (&text)[kGroupedCountCapacity]);

// A number not below zero with the locale's grouping and decimal sign, and this many decimals (at most 3).
void FormatGroupedNumber(double value, int decimals, wchar_t (&text)[kGroupedCountCapacity]);

// A count typed by the user: digits, with the locale's group separator
// allowed between them; spaces around it are ignored. False for anything
// else, and for a count that does not fit.
bool ReadGroupedCount(const wchar_t* text, size_t& count);

}  // namespace win
