// StatusBarTest.cpp: the status bar's parts, what it tells after known records, and the list and pane above it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/TestSupport.h"
#include "ui/StatusBar.h"

namespace {

using namespace testing_support;

std::wstring LocaleText(LCTYPE what) {
    wchar_t text[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, what, text, 8);
    return text;
}

std::vector<std::wstring> Parts(const ui::StatusTexts& texts) {
    return std::vector<std::wstring>(std::begin(texts.part), std::end(texts.part));
}

// Each part as the locale writes its numbers; the dropped records and the pause only when there are some.
TEST(StatusBar, ItsPartsTellTheRowsTheRateTheErrorsTheCaptureFileTheDropsAndThePause) {
    ASSERT_EQ(L"3;0", LocaleText(LOCALE_SGROUPING)) << "the expectations below assume groups of three";
    const std::wstring sep = LocaleText(LOCALE_STHOUSAND);
    const std::wstring dot = LocaleText(LOCALE_SDECIMAL);
    const struct {
        ui::StatusFacts facts;
        std::vector<std::wstring> parts;
    } cases[] = {
        {{}, {L"Rows: 0", L"Messages/s: 0" + dot + L"0", L"Errors or worse: 0", L"Capture off", L"", L""}},
        {{1234567, 12, false, 12, 3, ui::CaptureState::On, 0, false, 0},
         {L"Rows: 1" + sep + L"234" + sep + L"567", L"Messages/s: 2" + dot + L"4", L"Errors or worse: 3",
          L"Capture on", L"", L""}},
        {{1234, 12, true, 50001, 1000, ui::CaptureState::Failed, 4321, true, 7},
         {L"Rows: 12 of 1" + sep + L"234 shown", L"Messages/s: 10" + sep + L"000" + dot + L"2",
          L"Errors or worse: 1" + sep + L"000", L"Capture failed", L"Dropped: 4" + sep + L"321", L"Paused, 7 new"}},
        {{5, 5, false, 1, 0, ui::CaptureState::Off, 1, true, 0},
         {L"Rows: 5", L"Messages/s: 0" + dot + L"2", L"Errors or worse: 0", L"Capture off", L"Dropped: 1",
          L"Paused, 0 new"}},
    };
    for (const auto& expected : cases) EXPECT_EQ(expected.parts, Parts(ui::FormatStatus(expected.facts)));
}

std::vector<std::wstring> BarTexts(HWND bar) {
    std::vector<std::wstring> texts;
    const int parts = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
    for (int part = 0; part < parts; ++part) {
        wchar_t text[256] = {};
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

RECT PlaceInParent(HWND window) {
    RECT place;
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// Shown from the start, with a Capture file that cannot be opened; records of
// known severities arrive, a filter is applied, the list is paused and cleared.
TEST(StatusBar, AfterKnownRecordsItTellsWhatArrivedAndWhatTheListShows) {
    TempFolder files;
    const std::string missing = Narrow(files.File(L"no such folder\\capture.csv"));
    RunningMainWindow main(SettingsSection({{"ToFile", "1"}, {"FileName", missing}, {"StatusBar", "1"}}));
    const HWND bar = main.Window().Status().Handle();
    ASSERT_TRUE(bar);
    ASSERT_TRUE(IsWindowVisible(bar));
    const std::wstring dot = LocaleText(LOCALE_SDECIMAL);
    const auto tells = [&](const std::vector<std::wstring>& parts) {
        PumpUntil([&] { return BarTexts(bar) == parts; });
        return BarTexts(bar);
    };
    EXPECT_EQ((std::vector<std::wstring>{L"Rows: 0", L"Messages/s: 0" + dot + L"0", L"Errors or worse: 0",
                                         L"Capture failed", L"", L""}),
              tells({L"Rows: 0", L"Messages/s: 0" + dot + L"0", L"Errors or worse: 0", L"Capture failed", L"", L""}));

    const struct {
        const char* message;
        const char* sender;
    } arrivals[] = {{"<3>disk error", "10.0.0.1"}, {"<10>fan failed", "10.0.0.2"}, {"<13>all fine", "10.0.0.2"},
                    {"no priority", "10.0.0.3"},   {"<0>panic", "10.0.0.1"}};
    for (const auto& arrival : arrivals) DeliverRecord(main.Window(), MakeRecord(arrival.message, arrival.sender));
    std::vector<std::wstring> expected = {L"Rows: 5", L"Messages/s: 1" + dot + L"0", L"Errors or worse: 3",
                                          L"Capture failed", L"", L""};
    EXPECT_EQ(expected, tells(expected));

    records::RowFilter filter;
    filter.showText = "<1";
    main.Window().ApplyFilter(filter);
    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_PAUSE, 0);
    DeliverRecord(main.Window(), MakeRecord("<11>error again", "10.0.0.4"));
    expected = {L"Rows: 3 of 6 shown", L"Messages/s: 1" + dot + L"2", L"Errors or worse: 4", L"Capture failed", L"",
                L"Paused, 1 new"};
    EXPECT_EQ(expected, tells(expected));

    SendMessageA(main.Handle(), WM_COMMAND, ID_VIEW_CLEAR, 0);
    expected = {L"Rows: 0 of 0 shown", L"Messages/s: 0" + dot + L"0", L"Errors or worse: 0", L"Capture failed", L"",
                L"Paused, 0 new"};
    EXPECT_EQ(expected, tells(expected)) << "Clear starts the history afresh";
}

// Off at first: the window is as it always was. Shown, it takes the client
// area's bottom, and the list, the bar and the pane lie above it as they lay
// in the whole client area, the ratio taken on the height left; the choice is
// kept in the INI file once made.
TEST(StatusBar, TheListTheSplitterAndThePaneLieAboveItAsInTheWholeClientAreaAndTheChoiceIsKept) {
    std::wstring iniPath;
    std::string firstIni;
    {
        RunningMainWindow main;
        const HWND window = main.Handle();
        const HWND pane = main.Window().DiagnosticsPane();
        EXPECT_FALSE(main.Window().Status().Handle()) << "not made until it is first shown";
        RECT client;
        GetClientRect(window, &client);
        const float ratio = main.Window().Splitter().Ratio();
        const int barTop = static_cast<int>(static_cast<double>(client.bottom) * static_cast<double>(ratio));
        EXPECT_EQ(client.bottom, PlaceInParent(pane).bottom);
        EXPECT_EQ(barTop, PlaceInParent(main.Window().Splitter().Handle()).top);

        SendMessageA(window, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
        const HWND bar = main.Window().Status().Handle();
        ASSERT_TRUE(bar);
        ASSERT_TRUE(IsWindowVisible(bar));
        const RECT status = PlaceInParent(bar);
        EXPECT_EQ(client.bottom, status.bottom);
        const int above = status.top;
        ASSERT_GT(client.bottom - above, 0);
        const int shownBarTop = static_cast<int>(static_cast<double>(above) * static_cast<double>(ratio));
        EXPECT_EQ(shownBarTop, PlaceInParent(main.Window().Splitter().Handle()).top);
        EXPECT_EQ(shownBarTop, PlaceInParent(main.Window().MessageList()).bottom);
        EXPECT_EQ(above, PlaceInParent(pane).bottom);
        EXPECT_EQ(ratio, main.Window().Splitter().Ratio());

        // A larger window: still above it.
        SetWindowPos(window, nullptr, 0, 0, 700, 600, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(window, &client);
        EXPECT_EQ(client.bottom, PlaceInParent(bar).bottom);
        EXPECT_EQ(PlaceInParent(bar).top, PlaceInParent(pane).bottom);
        EXPECT_EQ(static_cast<int>(static_cast<double>(PlaceInParent(bar).top) * static_cast<double>(ratio)),
                  PlaceInParent(main.Window().Splitter().Handle()).top);

        SendMessageA(window, WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
        EXPECT_FALSE(IsWindowVisible(bar));
        EXPECT_EQ(client.bottom, PlaceInParent(pane).bottom);
        EXPECT_EQ(static_cast<int>(static_cast<double>(client.bottom) * static_cast<double>(ratio)),
                  PlaceInParent(main.Window().Splitter().Handle()).top);
        main.Close();
        EXPECT_NE(std::string::npos, ReadFileBytes(main.IniPath()).find("\r\nStatusBar=0\r\n"));
    }
    RunningMainWindow nextRun(SettingsSection({{"StatusBar", "1"}}));
    EXPECT_TRUE(nextRun.Window().Status().IsShown());
    EXPECT_TRUE(IsWindowVisible(nextRun.Window().Status().Handle()));
}

}  // namespace
