// SplitterBarTest.cpp: the ratio, the layout at every size, and the drag by posted and by real mouse input.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/MainWindowClassName.h"
#include "app/MessageLoop.h"
#include "list/MessageList.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestSupport.h"
#include "ui/SplitterBar.h"

namespace {

using testing_support::DesktopLock;
using testing_support::PumpUntil;
using testing_support::RunningMainWindow;

const char kBarClassName[] = "Pem_SplitterHor_class";

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A child's rectangle in its parent's client coordinates, as "x,y wxh".
std::string BoxOf(int x, int y, int width, int height) {
    return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" + std::to_string(height);
}

std::string Box(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return BoxOf(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int TopOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    POINT corner{r.left, r.top};
    ScreenToClient(GetParent(child), &corner);
    return corner.y;
}

int BottomOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    POINT corner{r.right, r.bottom};
    ScreenToClient(GetParent(child), &corner);
    return corner.y;
}

float Quotient(int part, int whole) {
    return static_cast<float>(static_cast<double>(part) / static_cast<double>(whole));
}

// The three windows of a layout with the bar's top at barTop in a client area of width x height.
struct ExpectedLayout {
    std::string list, bar, pane;
};
ExpectedLayout LayoutFor(int width, int height, int barTop, int thickness) {
    const int paneTop = barTop + thickness;
    return {BoxOf(0, 0, width, barTop), BoxOf(0, barTop, width, thickness),
            BoxOf(0, paneTop, width, height > paneTop ? height - paneTop : 0)};
}

// ---- A bare parent with two plain children in place of the list and the pane ----
// It is never shown: the arithmetic does not need it on screen.

class BareParent {
public:
    // The children are placed as the Main window's creation handler places its
    // list and pane; the list may stop short of the right edge.
    BareParent(int width, int height, int listRightMargin = 0) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SplitterTestParent";
        RegisterClassA(&windowClass);  // already there from an earlier test is fine
        parent_ = CreateWindowExA(0, "SplitterTestParent", nullptr, WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                  width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        const int split = height * 875 / 1000;
        list_ = Child(0, 0, width - listRightMargin, split);
        pane_ = Child(0, split, width, height - split);
    }
    ~BareParent() { DestroyWindow(parent_); }
    BareParent(const BareParent&) = delete;
    BareParent& operator=(const BareParent&) = delete;

    HWND Parent() const { return parent_; }
    HWND List() const { return list_; }
    HWND Pane() const { return pane_; }

private:
    HWND Child(int x, int y, int width, int height) {
        return CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE, x, y, width, height, parent_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }
    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    HWND pane_ = nullptr;
};

// ---- Stepping into window creation on this thread ---------------------------------

struct CreationRules {
    bool sizeMainWindow = false;
    SIZE mainClient{0, 0};
    bool refuseBar = false;
};

// Steps into window creation on this thread, for as long as it lives: refuses
// the bar's window, or gives the Main window a chosen client size. That size is
// set through the size limits the window reports while it is created, as the
// system fixes the size from them.
class CreationHook {
public:
    explicit CreationHook(const CreationRules& rules)
        : creating_(SetWindowsHookExA(WH_CBT, OnCreating, nullptr, GetCurrentThreadId())),
          answered_(SetWindowsHookExA(WH_CALLWNDPROCRET, OnAnswered, nullptr, GetCurrentThreadId())) {
        rules_ = rules;
    }
    ~CreationHook() {
        UnhookWindowsHookEx(answered_);
        UnhookWindowsHookEx(creating_);
    }
    CreationHook(const CreationHook&) = delete;
    CreationHook& operator=(const CreationHook&) = delete;

private:
    static LRESULT CALLBACK OnCreating(int code, WPARAM window, LPARAM details) {
        if (code == HCBT_CREATEWND && rules_.refuseBar && ClassOf(reinterpret_cast<HWND>(window)) == kBarClassName)
            return 1;
        return CallNextHookEx(nullptr, code, window, details);
    }

    static LRESULT CALLBACK OnAnswered(int code, WPARAM fromOtherThread, LPARAM details) {
        const CWPRETSTRUCT& answered = *reinterpret_cast<const CWPRETSTRUCT*>(details);
        if (code == HC_ACTION && rules_.sizeMainWindow && answered.message == WM_GETMINMAXINFO &&
            ClassOf(answered.hwnd) == app::kMainWindowClassName) {
            RECT outer{0, 0, rules_.mainClient.cx, rules_.mainClient.cy};
            AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(answered.hwnd, GWL_STYLE)), TRUE,
                               static_cast<DWORD>(GetWindowLongA(answered.hwnd, GWL_EXSTYLE)));
            auto& limits = *reinterpret_cast<MINMAXINFO*>(answered.lParam);
            limits.ptMinTrackSize = {outer.right - outer.left, outer.bottom - outer.top};
            limits.ptMaxTrackSize = limits.ptMinTrackSize;
        }
        return CallNextHookEx(nullptr, code, fromOtherThread, details);
    }

    static CreationRules rules_;
    HHOOK creating_;
    HHOOK answered_;
};
CreationRules CreationHook::rules_;

// The Main window, created with a client area of exactly width x height.
std::unique_ptr<RunningMainWindow> MainWindowWithClient(int width, int height, bool refuseBar = false) {
    CreationRules rules;
    rules.sizeMainWindow = true;
    rules.mainClient = {width, height};
    rules.refuseBar = refuseBar;
    CreationHook hook(rules);
    return std::make_unique<RunningMainWindow>();
}

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// Resizes a top-level window so that its client area becomes width x height.
bool SetClientSize(HWND window, int width, int height) {
    RECT outer;
    RECT client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                 height + (outer.bottom - outer.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE now = ClientSize(window);
    return now.cx == width && now.cy == height;
}

// ---- Posted steps: a drag driven by posted mouse messages --------------------------

// Runs each step from a message of its own, posted once the step before has
// run: whatever a step posts is handled, by whichever loop is running, before
// the next step runs.
class PostedSteps {
public:
    explicit PostedSteps(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SplitterTestSteps";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "SplitterTestSteps", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~PostedSteps() { DestroyWindow(window_); }
    PostedSteps(const PostedSteps&) = delete;
    PostedSteps& operator=(const PostedSteps&) = delete;

    void Start() { PostMessageA(window_, kStep, 0, 0); }
    bool Done() const { return next_ == steps_.size(); }

    // Starts the steps and dispatches until they have all run and no drag
    // holds the mouse. A drag that does not end by itself is ended by a
    // button release from a watchdog, and the run counts as failed.
    bool Run() {
        Start();
        SetTimer(window_, kWatchdogTimer, kWatchdogMs, nullptr);
        const bool ended = PumpUntil([&] { return Done() && GetCapture() == nullptr; });
        KillTimer(window_, kWatchdogTimer);
        return ended && !watchdogFired_;
    }

private:
    static constexpr UINT kStep = WM_APP + 1;
    static constexpr UINT_PTR kWatchdogTimer = 1;
    static constexpr UINT kWatchdogMs = 10000;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<PostedSteps*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_TIMER && wParam == kWatchdogTimer) {
            self->watchdogFired_ = true;
            KillTimer(window, kWatchdogTimer);
            PostMessageA(window, WM_LBUTTONUP, 0, 0);  // a drag loop ends at any window's release
            return 0;
        }
        if (message != kStep || !self || self->Done()) return DefWindowProcA(window, message, wParam, lParam);
        self->steps_[self->next_++]();
        if (!self->Done()) PostMessageA(window, kStep, 0, 0);
        return 0;
    }
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    bool watchdogFired_ = false;
    HWND window_ = nullptr;
};

// Posts the mouse messages of a drag to the bar, in its client coordinates as
// they are when the message is posted.
class PostedDrag {
public:
    PostedDrag(HWND bar, int grabOffset) : bar_(bar), grabOffset_(grabOffset) {}

    void Press() const {
        PostMessageA(bar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kCursorX, grabOffset_));
    }
    // The cursor at y in the parent's client coordinates.
    void CursorTo(int parentY) const {
        const int barY = parentY - TopOf(bar_);
        PostMessageA(bar_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kCursorX, barY));
    }
    // The cursor where the bar's top comes to barTop, if the move is accepted.
    void BarTopTo(int barTop) const { CursorTo(barTop + grabOffset_); }
    void Release() const { PostMessageA(bar_, WM_LBUTTONUP, 0, MAKELPARAM(kCursorX, grabOffset_)); }

private:
    static constexpr int kCursorX = 10;
    HWND bar_;
    int grabOffset_;
};

// A test that shows windows: it holds the desktop and keeps the pointer away from them.
class SplitterTest : public ::testing::Test {
protected:
    SplitterTest() { testing_support::ParkMouse(); }
    DesktopLock lock_;
};

// ---- Create ---------------------------------------------------------------------

TEST_F(SplitterTest, ClientOf400GivesRatioExactly0875AndLayoutFollowsTheSize) {
    auto window = MainWindowWithClient(600, 400);
    const HWND main = window->Handle();
    ASSERT_TRUE(main);
    ASSERT_EQ(400, ClientSize(main).cy);
    const ui::SplitterBar& splitter = window->Window().Splitter();
    const int thickness = splitter.Thickness();
    ASSERT_EQ(3 * GetSystemMetrics(SM_CYEDGE), thickness);

    EXPECT_EQ(0.875f, splitter.Ratio());
    const HWND list = window->Window().MessageList();
    const HWND pane = window->Window().DiagnosticsPane();
    const HWND bar = splitter.Handle();
    ASSERT_TRUE(bar);

    ExpectedLayout expected = LayoutFor(600, 400, 350, thickness);
    EXPECT_EQ(expected.list, Box(list));
    EXPECT_EQ(expected.bar, Box(bar));
    EXPECT_EQ(expected.pane, Box(pane));

    // Told of 800 (more than some screens give a window), then really resized.
    EXPECT_EQ(0, SendMessageA(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 800)));
    expected = LayoutFor(600, 800, 700, thickness);
    EXPECT_EQ(expected.list, Box(list));
    EXPECT_EQ(expected.bar, Box(bar));
    EXPECT_EQ(expected.pane, Box(pane));
    ASSERT_TRUE(SetClientSize(main, 600, 520));
    expected = LayoutFor(600, 520, 455, thickness);
    EXPECT_EQ(expected.list, Box(list));
    EXPECT_EQ(expected.bar, Box(bar));
    EXPECT_EQ(expected.pane, Box(pane));
    EXPECT_EQ(0.875f, splitter.Ratio());
}

// The ratio comes from where the list ends as the bar is created; without a
// usable height it is the list's share at start. Until the first Layout the
// bar lies over the top of the pane, which has not moved; Layout puts it at the
// ratio's height, cut to a whole pixel.
TEST_F(SplitterTest, TheRatioComesFromTheListsBottomAtCreationAndPlacesTheBar) {
    const struct {
        SIZE client;
        float ratio;
        int layoutHeight, barTop;
    } cases[] = {
        {{300, 400}, 0.875f, 400, 350},
        {{300, 301}, Quotient(263, 301), 301, 262},  // the list ends at 301 * 875 / 1000 = 263
        {{300, 2}, 0.5f, 2, 1},                      // 2 * 875 / 1000 = 1
        {{0, 400}, 0.875f, 400, 350},
        {{300, 1}, 0.875f, 400, 350},
        {{300, 0}, 0.875f, 400, 350},
        {{0, 0}, 0.875f, 400, 350},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(BoxOf(0, 0, test.client.cx, test.client.cy));
        BareParent windows(test.client.cx, test.client.cy);
        ASSERT_EQ(test.client.cy, ClientSize(windows.Parent()).cy);
        ui::SplitterBar splitter;
        const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
        ASSERT_TRUE(bar);
        EXPECT_EQ(windows.Parent(), GetParent(bar));
        EXPECT_EQ(test.ratio, splitter.Ratio());
        const int listBottom = BottomOf(windows.List());
        EXPECT_EQ(BoxOf(0, listBottom, test.client.cx, splitter.Thickness()), Box(bar));
        EXPECT_EQ(listBottom, TopOf(windows.Pane()));

        splitter.Layout(300, test.layoutHeight);
        const ExpectedLayout expected = LayoutFor(300, test.layoutHeight, test.barTop, splitter.Thickness());
        EXPECT_EQ(expected.list, Box(windows.List()));
        EXPECT_EQ(expected.bar, Box(bar));
        EXPECT_EQ(expected.pane, Box(windows.Pane()));
        EXPECT_EQ(test.ratio, splitter.Ratio());
    }
}

// Over the bar the pointer shows that it moves up and down.
TEST_F(SplitterTest, TheBarShowsTheUpAndDownCursor) {
    BareParent windows(300, 400);
    ui::SplitterBar splitter;
    const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
    ASSERT_TRUE(bar);
    SetCursor(nullptr);
    SendMessageA(bar, WM_SETCURSOR, reinterpret_cast<WPARAM>(bar), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZENS), GetCursor());
}

// ---- Layout -----------------------------------------------------------------------

TEST_F(SplitterTest, ZeroSizeGivesEmptyWindowsAndTheNextLayoutRestoresEverything) {
    BareParent windows(300, 400);
    ui::SplitterBar splitter;
    ASSERT_TRUE(splitter.Create(windows.Parent(), windows.List(), windows.Pane()));
    const int thickness = splitter.Thickness();
    splitter.Layout(300, 400);
    const std::string list = Box(windows.List()), bar = Box(splitter.Handle()), pane = Box(windows.Pane());

    splitter.Layout(0, 0);
    EXPECT_EQ(BoxOf(0, 0, 0, 0), Box(windows.List()));
    EXPECT_EQ(BoxOf(0, 0, 0, thickness), Box(splitter.Handle()));
    EXPECT_EQ(BoxOf(0, thickness, 0, 0), Box(windows.Pane()));  // not negative
    EXPECT_EQ(0.875f, splitter.Ratio());

    splitter.Layout(300, 400);
    EXPECT_EQ(list, Box(windows.List()));
    EXPECT_EQ(bar, Box(splitter.Handle()));
    EXPECT_EQ(pane, Box(windows.Pane()));

    // Less room under the bar than the bar itself: the pane gets no height, the list keeps its own.
    splitter.Layout(300, 5);  // bar top trunc(5 * 0.875) = 4
    EXPECT_EQ(BoxOf(0, 0, 300, 4), Box(windows.List()));
    EXPECT_EQ(BoxOf(0, 4, 300, thickness), Box(splitter.Handle()));
    EXPECT_EQ(BoxOf(0, 4 + thickness, 300, 0), Box(windows.Pane()));
    splitter.Layout(300, 400);
    EXPECT_EQ(pane, Box(windows.Pane()));
}

TEST_F(SplitterTest, ListKeepsItsRightMarginWhileTheBarAndThePaneReachTheRightEdge) {
    BareParent windows(300, 400, 20);
    ui::SplitterBar splitter;
    const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
    ASSERT_TRUE(bar);
    const int thickness = splitter.Thickness();

    SetWindowPos(windows.Parent(), nullptr, 0, 0, 500, 800, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    splitter.Layout(500, 800);
    EXPECT_EQ(BoxOf(0, 0, 480, 700), Box(windows.List()));
    EXPECT_EQ(BoxOf(0, 700, 500, thickness), Box(bar));
    EXPECT_EQ(BoxOf(0, 700 + thickness, 500, 100 - thickness), Box(windows.Pane()));

    // A drag changes heights only: the list keeps its width.
    const PostedDrag drag(bar, 1);
    PostedSteps steps({[&] { drag.Press(); }, [&] { drag.BarTopTo(400); }, [&] { drag.Release(); }});
    ASSERT_TRUE(steps.Run());
    EXPECT_EQ(BoxOf(0, 0, 480, 400), Box(windows.List()));
    EXPECT_EQ(BoxOf(0, 400 + thickness, 500, 400 - thickness), Box(windows.Pane()));

    splitter.Layout(100, 800);
    EXPECT_EQ(BoxOf(0, 0, 80, 400), Box(windows.List()));
    splitter.Layout(10, 800);  // narrower than the margin: no width, not a negative one
    EXPECT_EQ(BoxOf(0, 0, 0, 400), Box(windows.List()));
}

TEST_F(SplitterTest, ResizingAnyNumberOfTimesNeverChangesTheRatio) {
    auto window = MainWindowWithClient(600, 301);
    const HWND main = window->Handle();
    const ui::SplitterBar& splitter = window->Window().Splitter();
    const HWND list = window->Window().MessageList();
    const HWND pane = window->Window().DiagnosticsPane();
    const float ratio = splitter.Ratio();
    const std::string listAtStart = Box(list), barAtStart = Box(splitter.Handle()), paneAtStart = Box(pane);

    const SIZE sizes[] = {{900, 633}, {450, 97}, {600, 500}, {800, 640}, {500, 301}, {600, 40}, {600, 301}};
    for (int round = 0; round < 3; ++round) {
        for (const SIZE size : sizes) {
            SCOPED_TRACE(BoxOf(0, 0, size.cx, size.cy));
            ASSERT_TRUE(SetClientSize(main, size.cx, size.cy));
            EXPECT_EQ(ratio, splitter.Ratio());
            const int barTop = static_cast<int>(static_cast<double>(size.cy) * static_cast<double>(ratio));
            const ExpectedLayout expected = LayoutFor(size.cx, size.cy, barTop, splitter.Thickness());
            EXPECT_EQ(expected.list, Box(list));
            EXPECT_EQ(expected.bar, Box(splitter.Handle()));
            EXPECT_EQ(expected.pane, Box(pane));
        }
    }
    EXPECT_EQ(listAtStart, Box(list));
    EXPECT_EQ(barAtStart, Box(splitter.Handle()));
    EXPECT_EQ(paneAtStart, Box(pane));
}

TEST_F(SplitterTest, MinimisingAndMaximisingThenRestoringGiveBackTheEarlierLayout) {
    auto window = MainWindowWithClient(600, 400);
    const HWND main = window->Handle();
    const ui::SplitterBar& splitter = window->Window().Splitter();
    const HWND list = window->Window().MessageList();
    const HWND pane = window->Window().DiagnosticsPane();
    const int thickness = splitter.Thickness();
    const std::string listBefore = Box(list), barBefore = Box(splitter.Handle()), paneBefore = Box(pane);

    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));
    EXPECT_EQ(BoxOf(0, 0, 0, 0), Box(list));
    EXPECT_EQ(BoxOf(0, 0, 0, thickness), Box(splitter.Handle()));
    EXPECT_EQ(BoxOf(0, thickness, 0, 0), Box(pane));
    ShowWindow(main, SW_RESTORE);
    EXPECT_EQ(listBefore, Box(list));
    EXPECT_EQ(barBefore, Box(splitter.Handle()));
    EXPECT_EQ(paneBefore, Box(pane));

    ShowWindow(main, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(main));
    const SIZE maximised = ClientSize(main);
    EXPECT_EQ(static_cast<int>(maximised.cy * 0.875), TopOf(splitter.Handle()));
    ShowWindow(main, SW_RESTORE);
    EXPECT_EQ(listBefore, Box(list));
    EXPECT_EQ(barBefore, Box(splitter.Handle()));
    EXPECT_EQ(paneBefore, Box(pane));
    EXPECT_EQ(0.875f, splitter.Ratio());
}

TEST_F(SplitterTest, SizeNotificationsAreReadAsUnsignedAndAnswered) {
    auto window = MainWindowWithClient(600, 400);
    const HWND main = window->Handle();
    const ui::SplitterBar& splitter = window->Window().Splitter();

    // A height past 32767 is a large height, not a negative one.
    EXPECT_EQ(0, SendMessageA(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 33000)));
    EXPECT_EQ(28875, TopOf(splitter.Handle()));
    EXPECT_EQ(28875, BottomOf(window->Window().MessageList()));

    EXPECT_EQ(0, SendMessageA(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 400)));
    EXPECT_EQ(350, TopOf(splitter.Handle()));
}

TEST_F(SplitterTest, WithoutABarWindowLayoutStillPlacesTheListAndThePane) {
    {
        BareParent windows(300, 400);
        ui::SplitterBar splitter;
        CreationRules rules;
        rules.refuseBar = true;
        CreationHook refuse(rules);
        EXPECT_EQ(nullptr, splitter.Create(windows.Parent(), windows.List(), windows.Pane()));
        EXPECT_EQ(nullptr, splitter.Handle());
        EXPECT_EQ(0.875f, splitter.Ratio());

        splitter.Layout(300, 800);
        EXPECT_EQ(BoxOf(0, 0, 300, 700), Box(windows.List()));
        EXPECT_EQ(BoxOf(0, 700 + splitter.Thickness(), 300, 100 - splitter.Thickness()), Box(windows.Pane()));
        splitter.Layout(0, 0);
        EXPECT_EQ(BoxOf(0, 0, 0, 0), Box(windows.List()));
        EXPECT_EQ(BoxOf(0, splitter.Thickness(), 0, 0), Box(windows.Pane()));
    }

    auto window = MainWindowWithClient(600, 400, true);
    const HWND main = window->Handle();
    ASSERT_TRUE(main);
    EXPECT_EQ(nullptr, window->Window().Splitter().Handle());
    EXPECT_EQ(nullptr, FindWindowExA(main, nullptr, kBarClassName, nullptr));
    const int thickness = window->Window().Splitter().Thickness();
    ASSERT_TRUE(SetClientSize(main, 600, 640));
    const ExpectedLayout expected = LayoutFor(600, 640, 560, thickness);
    EXPECT_EQ(expected.list, Box(window->Window().MessageList()));
    EXPECT_EQ(expected.pane, Box(window->Window().DiagnosticsPane()));
    // Records still arrive in the list.
    EXPECT_TRUE(window->SendAndWaitForRows("no bar", 1));
}

// ---- Drag by posted mouse messages ---------------------------------------------------

// During the drag the list ends at the bar and the pane's bottom stays; the
// release moves nothing; the next Layout puts the bar at the new ratio, cut to a whole pixel.
TEST_F(SplitterTest, ADragMovesTheBarWhereTheCursorTakesItAndSetsTheRatio) {
    const struct {
        int height, grab, dragTo;
        float ratio;
        int topAfterLayout;
    } cases[] = {
        {100, 2, 70, 0.7f, 69},
        {500, 1, 300, 0.6f, 300},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.height);
        BareParent windows(300, test.height);
        ui::SplitterBar splitter;
        const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
        ASSERT_TRUE(bar);
        splitter.Layout(300, test.height);

        const PostedDrag drag(bar, test.grab);
        std::string listDuring, barDuring, paneDuring;
        HWND captureDuring = nullptr;
        PostedSteps steps({[&] { drag.Press(); },
                           [&] { drag.BarTopTo(test.dragTo); },
                           [&] {
                               listDuring = Box(windows.List());
                               barDuring = Box(bar);
                               paneDuring = Box(windows.Pane());
                               captureDuring = GetCapture();
                           },
                           [&] { drag.Release(); }});
        ASSERT_TRUE(steps.Run());
        EXPECT_EQ(bar, captureDuring);
        const ExpectedLayout expected = LayoutFor(300, test.height, test.dragTo, splitter.Thickness());
        EXPECT_EQ(expected.list, listDuring);
        EXPECT_EQ(expected.bar, barDuring);
        EXPECT_EQ(expected.pane, paneDuring);
        EXPECT_EQ(test.ratio, splitter.Ratio());
        EXPECT_EQ(test.dragTo, TopOf(bar));

        splitter.Layout(300, test.height);
        EXPECT_EQ(test.topAfterLayout, TopOf(bar));
        EXPECT_EQ(test.topAfterLayout, BottomOf(windows.List()));
        EXPECT_EQ(test.ratio, splitter.Ratio());
    }
}

// A status bar takes the bottom 20 of 520 pixels: the ratio is of the 500
// above it, and the bar's bottom may come down to 500, no further.
TEST_F(SplitterTest, WithTheBottomTakenTheRatioAndTheDragsLimitAreOfTheHeightAboveIt) {
    BareParent windows(300, 520);
    ui::SplitterBar splitter;
    const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
    ASSERT_TRUE(bar);
    splitter.SetReservedBottom(20);
    splitter.Layout(300, 520);
    EXPECT_EQ(BottomOf(windows.Pane()), 500);

    const PostedDrag drag(bar, 1);
    const int lowest = 500 - splitter.Thickness();
    const int before = TopOf(bar);
    std::vector<int> tops;
    const auto look = [&] { tops.push_back(TopOf(bar)); };
    PostedSteps steps({[&] { drag.Press(); }, [&] { drag.BarTopTo(lowest + 1); }, look, [&] { drag.BarTopTo(lowest); },
                       look, [&] { drag.BarTopTo(300); }, [&] { drag.Release(); }});
    ASSERT_TRUE(steps.Run());
    EXPECT_EQ((std::vector<int>{before, lowest}), tops) << "no further than the height above the status bar";
    EXPECT_EQ(300, TopOf(bar));
    EXPECT_EQ(0.6f, splitter.Ratio());
    splitter.Layout(300, 520);
    EXPECT_EQ(300, TopOf(bar));
    EXPECT_EQ(500, BottomOf(windows.Pane()));
}

TEST_F(SplitterTest, BarGrabbedFourPixelsBelowItsTopKeepsItsTopFourAboveTheCursor) {
    BareParent windows(300, 400);
    ui::SplitterBar splitter;
    const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
    ASSERT_TRUE(bar);
    splitter.Layout(300, 400);

    const PostedDrag drag(bar, 4);
    const int cursorPath[] = {200, 150, 262, 31, 390};
    std::vector<int> topsSeen;
    std::vector<std::function<void()>> script = {[&] { drag.Press(); }};
    for (const int cursorY : cursorPath) {
        script.push_back([&drag, cursorY] { drag.CursorTo(cursorY); });
        script.push_back([&] { topsSeen.push_back(TopOf(bar)); });
    }
    script.push_back([&] { drag.Release(); });
    PostedSteps steps(std::move(script));
    ASSERT_TRUE(steps.Run());
    EXPECT_EQ((std::vector<int>{196, 146, 258, 27, 386}), topsSeen);
    EXPECT_EQ(Quotient(386, 400), splitter.Ratio());
}

TEST_F(SplitterTest, BarBottomOnTheClientBottomIsAcceptedOnePixelFurtherAndAboveTheTopAreNot) {
    BareParent windows(300, 400);
    ui::SplitterBar splitter;
    const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
    ASSERT_TRUE(bar);
    splitter.Layout(300, 400);
    const int lowest = 400 - splitter.Thickness();

    const PostedDrag drag(bar, 0);
    std::vector<std::string> panes;
    std::vector<int> tops;
    std::vector<float> ratios;
    const auto look = [&] {
        tops.push_back(TopOf(bar));
        panes.push_back(Box(windows.Pane()));
        ratios.push_back(splitter.Ratio());
    };
    PostedSteps steps({[&] { drag.Press(); }, [&] { drag.BarTopTo(lowest); }, look,
                       [&] { drag.BarTopTo(lowest + 1); }, look, [&] { drag.BarTopTo(-1); }, look,
                       [&] { drag.BarTopTo(0); }, look, [&] { drag.Release(); }});
    ASSERT_TRUE(steps.Run());
    EXPECT_EQ((std::vector<int>{lowest, lowest, lowest, 0}), tops);
    EXPECT_EQ(BoxOf(0, 400, 300, 0), panes[0]);  // the pane reached the bottom: no height left
    EXPECT_EQ(panes[0], panes[1]);
    EXPECT_EQ(panes[0], panes[2]);
    EXPECT_EQ(BoxOf(0, splitter.Thickness(), 300, lowest), panes[3]);
    EXPECT_EQ((std::vector<float>{Quotient(lowest, 400), Quotient(lowest, 400), Quotient(lowest, 400), 0.0f}), ratios);
    EXPECT_EQ(BoxOf(0, 0, 300, 0), Box(windows.List()));
}

TEST_F(SplitterTest, LosingTheMouseEndsTheDragWhereItWas) {
    BareParent windows(300, 400);
    ui::SplitterBar splitter;
    const HWND bar = splitter.Create(windows.Parent(), windows.List(), windows.Pane());
    ASSERT_TRUE(bar);
    splitter.Layout(300, 400);

    const PostedDrag drag(bar, 3);
    PostedSteps steps({[&] { drag.Press(); }, [&] { drag.BarTopTo(200); }, [] { ReleaseCapture(); },
                       [&] { drag.BarTopTo(100); }, [] {}});
    ASSERT_TRUE(steps.Run());
    EXPECT_EQ(200, TopOf(bar));
    EXPECT_EQ(0.5f, splitter.Ratio());
}

// Every quit request taken from the queue, with the window that held the mouse then.
struct QuitSeen {
    int exitCode;
    HWND capture;
};
std::vector<QuitSeen> g_quitsSeen;

LRESULT CALLBACK NoteQuit(int code, WPARAM removal, LPARAM message) {
    const MSG& msg = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && msg.message == WM_QUIT)
        g_quitsSeen.push_back({static_cast<int>(msg.wParam), GetCapture()});
    return CallNextHookEx(nullptr, code, removal, message);
}

constexpr UINT kWatchdogMs = 10000;
constexpr int kWatchdogExitCode = 99;

void CALLBACK EndLoopAsWatchdog(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(kWatchdogExitCode);
}

TEST_F(SplitterTest, QuitRequestDuringADragEndsItAndReachesTheMainLoopWithItsCode) {
    RunningMainWindow window;
    const HWND bar = window.Window().Splitter().Handle();
    ASSERT_TRUE(bar);
    const int startTop = TopOf(bar);
    ASSERT_GT(startTop, 100);

    g_quitsSeen.clear();
    const HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, NoteQuit, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);

    const PostedDrag drag(bar, 2);
    PostedSteps steps({[&] { drag.Press(); }, [&] { drag.BarTopTo(startTop - 40); }, [] { PostQuitMessage(7); }});
    steps.Start();
    // Should the quit request be lost, this one ends the loop instead, with a code of its own.
    const UINT_PTR watchdog = SetTimer(nullptr, 0, kWatchdogMs, EndLoopAsWatchdog);
    app::RunMessageLoop(nullptr);  // ends only on a quit request
    KillTimer(nullptr, watchdog);
    UnhookWindowsHookEx(hook);

    EXPECT_TRUE(steps.Done());
    ASSERT_FALSE(g_quitsSeen.empty());
    EXPECT_EQ(7, g_quitsSeen.back().exitCode);
    EXPECT_EQ(nullptr, g_quitsSeen.back().capture);  // the drag had ended when the main loop took it
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(startTop - 40, TopOf(bar));

    // The drag is over: a later mouse move moves nothing.
    PostedSteps after({[&] { drag.BarTopTo(startTop); }, [] {}});
    ASSERT_TRUE(after.Run());
    EXPECT_EQ(startTop - 40, TopOf(bar));
}

// ---- Painting ---------------------------------------------------------------------

// The bar's pixels as they are on screen, row after row.
std::vector<COLORREF> PixelsOf(HWND bar) {
    RECT client;
    GetClientRect(bar, &client);
    std::vector<COLORREF> pixels;
    const HDC dc = GetDC(bar);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(bar, dc);
    return pixels;
}

// The bar's pixels as its painting makes them: the class colour, and the two
// raised edges inset by SM_CYEDGE.
std::vector<COLORREF> PaintedBar(int width, int height) {
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT r{0, 0, width, height};
    FillRect(dc, &r, GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
    InflateRect(&r, -GetSystemMetrics(SM_CYEDGE), -GetSystemMetrics(SM_CYEDGE));
    DrawEdge(dc, &r, EDGE_RAISED, BF_TOP | BF_BOTTOM);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool NothingLeftToPaint(HWND main) {
    return !GetUpdateRect(main, nullptr, FALSE) && !GetUpdateRect(GetWindow(main, GW_CHILD), nullptr, FALSE) &&
           GetQueueStatus(QS_PAINT) == 0;
}

TEST_F(SplitterTest, BarIsDrawnAfreshWhereverItMoves) {
    RunningMainWindow window;
    const HWND main = window.Handle();
    const HWND bar = window.Window().Splitter().Handle();
    ASSERT_TRUE(bar);
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    std::string lines;
    for (int i = 0; i < 40; ++i) lines += "a line of text in the pane, number " + std::to_string(i) + "\r\n";
    SetWindowTextA(window.Window().DiagnosticsPane(), lines.c_str());
    ASSERT_TRUE(PumpUntil([&] { return NothingLeftToPaint(main); }));
    RECT client;
    GetClientRect(bar, &client);
    const std::vector<COLORREF> painted = PaintedBar(client.right, client.bottom);
    ASSERT_EQ(painted, PixelsOf(bar));

    // Up and down over the pane's text, by posted mouse moves.
    const int startTop = TopOf(bar);
    const PostedDrag drag(bar, 2);
    std::vector<std::vector<COLORREF>> seen;
    std::vector<std::function<void()>> script = {[&] { drag.Press(); }};
    for (const int top : {startTop - 37, startTop - 150, startTop - 90, startTop - 20}) {
        script.push_back([&drag, top] { drag.BarTopTo(top); });
        script.push_back([&] {
            PumpUntil([&] { return NothingLeftToPaint(main); });
            seen.push_back(PixelsOf(bar));
        });
    }
    script.push_back([&] { drag.Release(); });
    PostedSteps steps(std::move(script));
    ASSERT_TRUE(steps.Run());
    ASSERT_EQ(4u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(painted, seen[i]) << "after move " << i;

    // Height-only resizes, as when the frame is dragged, move the bar without resizing it.
    const SIZE size = ClientSize(main);
    for (const int shrink : {23, 53, 93, 113, 61, 7}) {
        ASSERT_TRUE(SetClientSize(main, size.cx, size.cy - shrink));
        ASSERT_TRUE(PumpUntil([&] { return NothingLeftToPaint(main); }));
        EXPECT_EQ(painted, PixelsOf(bar)) << "at height " << size.cy - shrink;
    }
}

// ---- Drag by real mouse input, with records arriving meanwhile -----------------------

HWND CaptureOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndCapture : nullptr;
}

bool WaitFor(const std::function<bool()>& condition) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(5);
    }
    return true;
}

TEST_F(SplitterTest, RealMouseDragMovesTheBarAndRecordsArriveWhileTheButtonIsHeld) {
    RunningMainWindow window;
    const HWND main = window.Handle();
    const HWND bar = window.Window().Splitter().Handle();
    const HWND list = window.Window().MessageList();
    ASSERT_TRUE(bar);
    // Above any window that another program might open meanwhile.
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(main);
    const int startTop = TopOf(bar);
    const int clientHeight = ClientSize(main).cy;
    ASSERT_GT(startTop, 150);

    RECT barOnScreen;
    GetWindowRect(bar, &barOnScreen);
    const POINT grab{barOnScreen.left + 60, barOnScreen.top + 2};
    const POINT dropAt{grab.x, grab.y - 120};
    const DWORD uiThread = GetCurrentThreadId();

    struct Outcome {
        bool pressed = false, dragging = false, moved = false, rowsWhileHeld = false, stillHeld = false,
             released = false;
    } outcome;
    std::atomic<bool> done{false};
    const auto rowCount = [list] {
        DWORD_PTR rows = 0;
        SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_BLOCK, 2000, &rows);
        return static_cast<int>(rows);
    };
    std::thread user([&] {
        outcome.pressed = testing_support::MoveMouseTo(grab) && testing_support::PressLeftButton();
        outcome.dragging = WaitFor([&] { return CaptureOf(uiThread) == bar; });
        outcome.moved = testing_support::MoveMouseTo(dropAt) && WaitFor([&] { return TopOf(bar) == startTop - 120; });
        for (int i = 0; i < 3; ++i) testing_support::SendDatagram(window.Port(), "during the drag " + std::to_string(i));
        outcome.rowsWhileHeld = WaitFor([&] { return rowCount() == 3; });
        outcome.stillHeld = CaptureOf(uiThread) == bar;
        outcome.released = testing_support::ReleaseLeftButton() && WaitFor([&] { return CaptureOf(uiThread) == nullptr; });
        testing_support::ParkMouse();
        done = true;
    });
    const bool finished = PumpUntil([&] { return done.load(); }, 30000);
    user.join();
    ASSERT_TRUE(finished);

    EXPECT_TRUE(outcome.pressed);
    EXPECT_TRUE(outcome.dragging);
    EXPECT_TRUE(outcome.moved);
    EXPECT_TRUE(outcome.rowsWhileHeld);
    EXPECT_TRUE(outcome.stillHeld);
    EXPECT_TRUE(outcome.released);

    EXPECT_EQ(startTop - 120, TopOf(bar));
    EXPECT_EQ(startTop - 120, BottomOf(list));
    EXPECT_EQ(startTop - 120 + window.Window().Splitter().Thickness(), TopOf(window.Window().DiagnosticsPane()));
    EXPECT_EQ(Quotient(startTop - 120, clientHeight), window.Window().Splitter().Ratio());
    EXPECT_EQ(3, win::ListView(list).Count());
}

}  // namespace
