// DiagnosticTextTest.cpp: the layout of a diagnostic text.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "diag/DiagnosticText.h"

namespace {

std::wstring Format(StatusCode status, const wchar_t* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    diag::DiagnosticText text = diag::FormatDiagnostic(status, format, arguments);
    va_end(arguments);
    return text ? std::wstring(text.get()) : std::wstring(L"<none>");
}

TEST(StatusCode, ConvertsPositiveErrorNumbers) {
    EXPECT_EQ(static_cast<StatusCode>(0x80072740), StatusFromError(10048));  // WSAEADDRINUSE
    EXPECT_EQ(static_cast<StatusCode>(0x80070020), StatusFromError(32));     // sharing violation
    EXPECT_EQ(0, StatusFromError(0));
    EXPECT_EQ(-5, StatusFromError(-5));
}

TEST(DiagnosticText, WithoutStatusIsExactlyTheFormattedFormat) {
    EXPECT_EQ(L"Received more than 4096 bytes\n", Format(0, L"Received more than %u bytes\n", 4096u));
}

TEST(DiagnosticText, WideStringArgumentIsTakenAsWide) {
    EXPECT_EQ(L"Cannot open file C:\\x\\cap.csv\n", Format(0, L"Cannot open file %s\n", L"C:\\x\\cap.csv"));
}

TEST(DiagnosticText, StatusAddsTheCodeInLowerCaseHexAndTheSystemText) {
    const std::wstring text = Format(StatusFromError(10048), L"Error occurred while binding\n");
    const std::wstring head = L"Error occurred while binding\n\r\n[0x80072740] ";
    ASSERT_EQ(head, text.substr(0, head.size()));
    EXPECT_GT(text.size(), head.size() + 5);  // the system's own text follows
}

TEST(DiagnosticText, CodeWithoutSystemTextStillShowsTheCode) {
    const std::wstring text = Format(static_cast<StatusCode>(0x8007FFFE), L"Failed to write in file\n");
    EXPECT_EQ(0u, text.find(L"Failed to write in file\n\r\n[0x8007fffe] "));
    EXPECT_GT(text.size(), std::wstring(L"Failed to write in file\n\r\n[0x8007fffe] ").size());
}

// A long argument is cut, not written past the text's room, and the text still ends.
TEST(DiagnosticText, ALongArgumentIsCutAndTheTextTerminated) {
    const std::wstring longName(30000, L'n');
    const std::wstring text = Format(0, L"Cannot open file %s\n", longName.c_str());
    EXPECT_LT(text.size(), longName.size());
    EXPECT_EQ(L"Cannot open file " + std::wstring(text.size() - 17, L'n'), text);
}

TEST(DiagnosticText, FormatCharactersInArgumentsAreNotInterpreted) {
    EXPECT_EQ(L"Cannot open file %s%n%x\n", Format(0, L"Cannot open file %s\n", L"%s%n%x"));
}

}  // namespace
