// MatchCallsTest.cpp: the user called back for real: the taskbar flash, the summary's timer, the icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/MatchCalls.h"
#include "app/NotifyIcon.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestSupport.h"

namespace {

using records::CountedRule;
using testing_support::PumpUntil;

// Every flash: the system draws the caption anew (WM_NCACTIVATE) for each
// one asked, since a flash toggles it.
class FlashCount {
public:
    explicit FlashCount(HWND window) {
        window_ = window;
        count_ = 0;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Sent, nullptr, GetCurrentThreadId());
    }
    ~FlashCount() { UnhookWindowsHookEx(hook_); }
    FlashCount(const FlashCount&) = delete;
    FlashCount& operator=(const FlashCount&) = delete;

    // The flashes asked for while the action ran.
    int During(const std::function<void()>& action) {
        count_ = 0;
        action();
        return count_;
    }

private:
    static LRESULT CALLBACK Sent(int code, WPARAM fromOtherThread, LPARAM details) {
        const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(details);
        if (code == HC_ACTION && sent.hwnd == window_ && sent.message == WM_NCACTIVATE) ++count_;
        return CallNextHookEx(nullptr, code, fromOtherThread, details);
    }

    static HWND window_;
    static int count_;
    HHOOK hook_;
};
HWND FlashCount::window_ = nullptr;
int FlashCount::count_ = 0;

// Another program's window: shown, and brought in front when asked.
class OtherWindow {
public:
    OtherWindow()
        : window_(CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 700, 600, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr)) {}
    ~OtherWindow() { DestroyWindow(window_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    HWND window_;
};

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return PumpUntil([window] { return GetForegroundWindow() == window; });
}

CountedRule Rule(const char* showText, bool notify, bool flash) {
    CountedRule counted;
    counted.rule.name = showText;
    counted.rule.conditions.showText = showText;
    counted.rule.notify = notify;
    counted.rule.flash = flash;
    return counted;
}

// Whether the window's icon is in the notification area: the shell lets only an icon it holds be changed.
bool IconShown(HWND window) {
    NOTIFYICONDATAW unchanged{};
    unchanged.cbSize = sizeof unchanged;
    unchanged.hWnd = window;
    unchanged.uID = app::NotifyIcon::kIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &unchanged) != FALSE;
}

class MatchCallsTest : public testing::Test {
protected:
    void Deliver(const char* message) {
        testing_support::DeliverRecord(main_.Window(), testing_support::MakeRecord(message));
    }
    // The Main window comes to the front, as a click on its taskbar button brings it, and goes behind again.
    void VisitTheMainWindow() {
        ASSERT_TRUE(BringToFront(main_.Handle()));
        ASSERT_TRUE(BringToFront(other_.Handle()));
    }

    testing_support::DesktopLock lock_;
    testing_support::RunningMainWindow main_;
    OtherWindow other_;
};

// A flash lasts until the window comes to the front; a match after that flashes again.
// New rules start afresh: the matches that waited for a summary were the old rules'.
TEST_F(MatchCallsTest, AMatchBehindAnotherWindowFlashesOnceUntilTheWindowHasBeenInFront) {
    main_.Window().SetWatchRules({Rule("link", false, true), Rule("disk", false, true), Rule("port", false, true)});
    ASSERT_TRUE(BringToFront(other_.Handle()));
    FlashCount flashes(main_.Handle());

    EXPECT_EQ(1, flashes.During([&] { Deliver("link down"); }));
    EXPECT_EQ(0, flashes.During([&] { Deliver("link down again"); })) << "summed up later";
    EXPECT_EQ(0, flashes.During([&] { Deliver("disk full"); })) << "still flashing";
    VisitTheMainWindow();
    EXPECT_EQ(1, flashes.During([&] { Deliver("port 3 down"); }));

    VisitTheMainWindow();
    main_.Window().SetWatchRules(
        {Rule("fan", false, true), Rule("link", false, true), Rule("disk", false, true), Rule("port", false, true)});
    EXPECT_EQ(1, flashes.During([&] { Deliver("fan stopped"); })) << "the new first rule's first match";
}

TEST_F(MatchCallsTest, TheIconIsShownWhileARuleNotifies) {
    EXPECT_FALSE(IconShown(main_.Handle()));
    main_.Window().SetWatchRules({Rule("link", false, true), Rule("disk", true, false)});
    EXPECT_TRUE(IconShown(main_.Handle()));
    main_.Window().SetWatchRules({Rule("link", false, true)});
    EXPECT_FALSE(IconShown(main_.Handle())) << "the last rule that notifies is gone";
    main_.Window().SetWatchRules({Rule("disk", true, false)});
    EXPECT_TRUE(IconShown(main_.Handle()));
    main_.Window().SetWatchRules({});
    EXPECT_FALSE(IconShown(main_.Handle()));
}

// A window of the test's own, for the calls on a clock the test turns: it
// notes each timer that reaches it.
class CalledWindow {
public:
    CalledWindow()
        : window_(CreateWindowExA(0, "STATIC", "called", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                  nullptr)) {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
        timersSeen_.clear();
    }
    ~CalledWindow() { DestroyWindow(window_); }
    CalledWindow(const CalledWindow&) = delete;
    CalledWindow& operator=(const CalledWindow&) = delete;

    HWND Handle() const { return window_; }
    static const std::vector<WPARAM>& TimersSeen() { return timersSeen_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER) {
            timersSeen_.push_back(wParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static std::vector<WPARAM> timersSeen_;
    HWND window_;
};
std::vector<WPARAM> CalledWindow::timersSeen_;

// Matches waiting for a summary set the window's timer for when it falls due;
// the summary then flashes again, the window having been in front meanwhile.
TEST(MatchCalls, MatchesWaitingForASummarySetTheTimerThatBringsIt) {
    CalledWindow window;
    records::WatchRules rules;
    ASSERT_TRUE(rules.Set({Rule("link", false, true)}));
    app::MatchCalls calls;
    calls.Start(window.Handle());
    FlashCount flashes(window.Handle());

    EXPECT_EQ(1, flashes.During([&] { calls.OnMatches(1, rules, "link down", 0); }));
    calls.OnActivated();
    // Due ten seconds after the first call: in a moment on the test's clock.
    EXPECT_EQ(0, flashes.During([&] { calls.OnMatches(1, rules, "link down again", 9990); }));
    ASSERT_TRUE(PumpUntil([] { return !CalledWindow::TimersSeen().empty(); }, 2000)) << "no timer for the summary";
    EXPECT_EQ(app::MatchCalls::kTimerId, CalledWindow::TimersSeen().front());
    EXPECT_EQ(1, flashes.During([&] { calls.OnTimer(rules, 10000); }));
    calls.Stop();
}

}  // namespace
