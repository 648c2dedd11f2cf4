// DiagnosticsPaneTest.cpp: reports as they reach the pane of a running Main window.
#include <gtest/gtest.h>

#include <string>

#include "diag/DiagnosticReporter.h"
#include "diag/DiagnosticText.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace testing_support;

// Reports the text with status 0 and waits until the pane shows it at its end.
bool ReportAndWait(HWND pane, const std::string& text) {
    const std::wstring wide(text.begin(), text.end());
    diag::Report(S_OK, L"%s", wide.c_str());
    return PumpUntil([&] {
        const std::string shown = PaneText(pane);
        return shown.size() >= text.size() && shown.compare(shown.size() - text.size(), text.size(), text) == 0;
    });
}

TEST(DiagnosticsPane, TextGoesToTheEndEvenWithASelectionAndTheSelectionIsRemoved) {
    const long textsBefore = diag::DiagnosticTextsAlive();
    RunningMainWindow main;
    const HWND pane = main.Window().DiagnosticsPane();
    ASSERT_TRUE(ReportAndWait(pane, "first line\r\nsecond line\r\n"));

    SendMessageA(pane, EM_SETSEL, 2, 8);
    ASSERT_TRUE(ReportAndWait(pane, "third line\r\n"));

    EXPECT_EQ("first line\r\nsecond line\r\nthird line\r\n", PaneText(pane));
    DWORD start = 0, end = 0;
    SendMessageA(pane, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end) << "nothing is selected";
    EXPECT_EQ(textsBefore, diag::DiagnosticTextsAlive());
}

TEST(DiagnosticsPane, KeepsAcceptingTextPast32KCharacters) {
    RunningMainWindow main;
    const HWND pane = main.Window().DiagnosticsPane();
    std::string expected;
    for (int i = 0; i < 50; ++i) {
        const std::string line = "report " + std::to_string(i) + " " + std::string(990, 'x') + "\r\n";
        expected += line;
        const std::wstring wide(line.begin(), line.end());
        diag::Report(S_OK, L"%s", wide.c_str());
    }
    ASSERT_GT(expected.size(), 32u * 1024u);
    ASSERT_TRUE(PumpUntil([&] { return PaneText(pane).size() >= expected.size(); }));
    EXPECT_EQ(expected, PaneText(pane));
}

TEST(DiagnosticsPane, ClearEmptiesItAndTheNextReportStartsAtTheTop) {
    RunningMainWindow main;
    const HWND pane = main.Window().DiagnosticsPane();
    ASSERT_TRUE(ReportAndWait(pane, "before the clear\r\n"));

    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_CLEAR, 0);
    EXPECT_EQ("", PaneText(pane));

    ASSERT_TRUE(ReportAndWait(pane, "after the clear\n"));
    EXPECT_EQ("after the clear\n", PaneText(pane));
}

}  // namespace
