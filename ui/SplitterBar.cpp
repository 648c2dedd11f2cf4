// SplitterBar.cpp: the ratio, the layout of the three windows, the drag and the painting.
#include "ui/SplitterBar.h"

#include "res/resource.h"
#include "win/Dpi.h"

namespace ui {

namespace {

constexpr float kPlaceholderRatio = 0.25f;
constexpr int kStartListThousandths = 875;
constexpr int kThousand = 1000;
// Taken when the client area is too small at creation to tell where the list ends.
constexpr float kDegenerateRatio = static_cast<float>(kStartListThousandths) / kThousand;
constexpr int kWindowsPerLayout = 3;
constexpr int kEdgesPerBar = 3;  // the bar is as thick as three window edges

constexpr UINT kListFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kPaneFlags = SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kBarLayoutFlags = SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kBarDragFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

const win::WindowClass kBarClass = {
    "Pem_SplitterHor_class",
    CS_HREDRAW | CS_VREDRAW,
    reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INACTIVECAPTIONTEXT + 1)),
    nullptr,
    nullptr,
    nullptr,  // the arrow, set at registration below
    nullptr,
};

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window, HWND parent) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

float RatioOf(int part, int whole) {
    return static_cast<float>(static_cast<double>(part) / static_cast<double>(whole));
}

// A size the window manager can take: never negative.
int NonNegative(int size) {
    return size < 0 ? 0 : size;
}

// The panes move before the bar in the same batch, so the pixels that a move
// copies along with the bar may already be theirs: the bar is drawn afresh.
void RedrawMovedBar(HWND bar) {
    if (bar) InvalidateRect(bar, nullptr, TRUE);
}

}  // namespace

int StartListBottom(int clientHeight) {
    return clientHeight * kStartListThousandths / kThousand;
}

SplitterBar::SplitterBar()
    : ratio_(kPlaceholderRatio),
      thickness_(kEdgesPerBar * GetSystemMetrics(SM_CYEDGE)),
      paintInset_(GetSystemMetrics(SM_CYEDGE)) {}

HWND SplitterBar::Create(HWND parent, HWND upper, HWND lower) {
    RECT client;
    GetClientRect(parent, &client);
    parent_ = parent;
    upper_ = upper;
    lower_ = lower;
    SetDpi(win::WindowDpi(parent));

    const RECT upperRect = RectInParent(upper, parent);
    rightMargin_ = client.right - upperRect.right;
    const bool degenerate = client.right <= 0 || client.bottom < 2;
    ratio_ = degenerate ? kDegenerateRatio : RatioOf(upperRect.bottom, client.bottom);

    win::WindowClass barClass = kBarClass;
    barClass.cursor = LoadCursor(nullptr, IDC_ARROW);
    const HWND bar = win::Window::Create(
        barClass, {parent, nullptr, WS_CHILD | WS_VISIBLE, WS_EX_WINDOWEDGE, client.left, upperRect.bottom,
                   client.right - client.left, thickness_,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SPLITTER_BAR))});
    if (!bar) return nullptr;
    SetClassLongPtrA(bar, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_SIZENS)));
    return bar;
}

void SplitterBar::Layout(int clientWidth, int fullClientHeight) {
    if (!upper_ || !lower_) return;  // nothing to place before Create
    const int clientHeight = NonNegative(fullClientHeight - reservedBottom_);
    const int barTop = static_cast<int>(static_cast<double>(clientHeight) * static_cast<double>(ratio_));
    const int barBottom = barTop + thickness_;

    const RECT listRect = RectInParent(upper_, parent_);
    const RECT paneRect = RectInParent(lower_, parent_);
    HDWP batch = BeginDeferWindowPos(kWindowsPerLayout);
    batch = DeferWindowPos(batch, upper_, nullptr, 0, 0, NonNegative(clientWidth - rightMargin_ - listRect.left),
                           NonNegative(barTop - listRect.top), kListFlags);
    batch = DeferWindowPos(batch, lower_, nullptr, paneRect.left, barBottom,
                           NonNegative(clientWidth - paneRect.left), NonNegative(clientHeight - barBottom),
                           kPaneFlags);
    // Without a bar window the list and the pane are still placed around where it would be.
    if (Handle()) batch = DeferWindowPos(batch, Handle(), nullptr, 0, barTop, clientWidth, thickness_, kBarLayoutFlags);
    EndDeferWindowPos(batch);
    RedrawMovedBar(Handle());
}

// A window edge as thick as at 96 DPI, scaled: the system's own edge may stay thin at any DPI.
void SplitterBar::SetDpi(int dpi) {
    paintInset_ = win::ScaleToDpi(win::SystemMetricAtDpi(SM_CYEDGE, win::kDesignDpi), dpi);
    thickness_ = kEdgesPerBar * paintInset_;
}

bool SplitterBar::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        Drag(lParam);
        return true;
    case WM_PAINT:
        Paint();
        return true;
    default:
        return false;
    }
}

// Follows the mouse until the button is released, with a loop of its own so
// that everything else keeps being handled meanwhile.
void SplitterBar::Drag(LPARAM pressPoint) {
    RECT client;
    GetClientRect(parent_, &client);
    client.bottom = NonNegative(client.bottom - reservedBottom_);
    const int grabOffset = static_cast<short>(HIWORD(pressPoint));
    SetCapture(Handle());

    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // Not ours to take: the main loop must still see the quit request.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (!Handle() || GetCapture() != Handle()) return;  // the capture is not ours to release

        if (msg.message == WM_MOUSEMOVE) {
            POINT proposed = {static_cast<short>(LOWORD(msg.lParam)),
                              static_cast<short>(HIWORD(msg.lParam)) - grabOffset};
            MapWindowPoints(Handle(), parent_, &proposed, 1);
            const int top = proposed.y;
            if (top < 0 || top + thickness_ > client.bottom) continue;  // ignored, not clamped

            ratio_ = RatioOf(top, client.bottom);
            const RECT listRect = RectInParent(upper_, parent_);
            const RECT paneRect = RectInParent(lower_, parent_);
            HDWP batch = BeginDeferWindowPos(kWindowsPerLayout);
            batch = DeferWindowPos(batch, upper_, nullptr, 0, 0, listRect.right - listRect.left,
                                   NonNegative(top - listRect.top), kListFlags);
            batch = DeferWindowPos(batch, lower_, nullptr, paneRect.left, top + thickness_,
                                   paneRect.right - paneRect.left,
                                   NonNegative(paneRect.bottom - thickness_ - top), kPaneFlags);
            batch = DeferWindowPos(batch, Handle(), nullptr, 0, top, 0, 0, kBarDragFlags);
            EndDeferWindowPos(batch);
            RedrawMovedBar(Handle());
        } else if (msg.message == WM_LBUTTONUP) {
            break;
        }
    }
    ReleaseCapture();
}

// Two raised edges, along the top and the bottom, inset from the border.
void SplitterBar::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Handle(), &paint);
    RECT edges;
    GetClientRect(Handle(), &edges);
    InflateRect(&edges, -paintInset_, -paintInset_);
    DrawEdge(dc, &edges, EDGE_RAISED, BF_TOP | BF_BOTTOM);
    EndPaint(Handle(), &paint);
}

}  // namespace ui
