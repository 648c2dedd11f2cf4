// StatusBar.cpp: the facts read from the book, the list, the Capture file and the queue, and the parts that show them.
#include "ui/StatusBar.h"

#include <commctrl.h>

#include <cwchar>

#include "res/resource.h"
#include "win/Dpi.h"
#include "win/LocaleNumber.h"
#include "win/Window.h"

namespace ui {

namespace {

constexpr size_t kRateSeconds = 5;
// Each part's width at 96 DPI; the last takes what is left.
constexpr int kPartWidths[kStatusParts - 1] = {190, 130, 140, 110, 130};

enum Part { kRows, kRate, kErrors, kCapture, kDropped, kPaused };

const wchar_t kNeverTold[] = L"\x1";  // no part's text

}  // namespace

StatusTexts FormatStatus(const StatusFacts& facts) {
    StatusTexts texts = {};
    wchar_t first[win::kGroupedCountCapacity];
    wchar_t second[win::kGroupedCountCapacity];
    win::FormatGroupedCount(facts.heldRows, second);
    if (facts.filterInForce) {
        win::FormatGroupedCount(facts.shownRows, first);
        std::swprintf(texts.part[kRows], kStatusPartCapacity, L"Rows: %ls of %ls shown", first, second);
    } else {
        std::swprintf(texts.part[kRows], kStatusPartCapacity, L"Rows: %ls", second);
    }
    win::FormatGroupedNumber(static_cast<double>(facts.lastFiveSeconds) / kRateSeconds, 1, first);
    std::swprintf(texts.part[kRate], kStatusPartCapacity, L"Messages/s: %ls", first);
    win::FormatGroupedCount(facts.errorsHeld, first);
    std::swprintf(texts.part[kErrors], kStatusPartCapacity, L"Errors or worse: %ls", first);
    const wchar_t* const capture = facts.capture == CaptureState::On    ? L"Capture on"
                                   : facts.capture == CaptureState::Off ? L"Capture off"
                                                                        : L"Capture failed";
    std::swprintf(texts.part[kCapture], kStatusPartCapacity, L"%ls", capture);
    if (facts.dropped > 0) {
        win::FormatGroupedCount(static_cast<size_t>(facts.dropped), first);
        std::swprintf(texts.part[kDropped], kStatusPartCapacity, L"Dropped: %ls", first);
    }
    if (facts.paused) {
        win::FormatGroupedCount(facts.newWhilePaused, first);
        std::swprintf(texts.part[kPaused], kStatusPartCapacity, L"Paused, %ls new", first);
    }
    return texts;
}

bool StatusBar::Show(HWND parent, bool shown) {
    parent_ = parent;
    if (shown && !bar_) {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), win::ModuleInstance(),
                               nullptr);
        if (!bar_) return false;
        SetParts();
    }
    if (!bar_) return !shown;
    shown_ = shown;
    ShowWindow(bar_, shown ? SW_SHOWNA : SW_HIDE);
    if (shown) {
        // Told afresh: what the bar held before it was hidden is not known to be there.
        for (wchar_t (&told)[kStatusPartCapacity] : told_.part) std::wcscpy(told, kNeverTold);
        toldAt_ = 0;
        Refresh(true);
    } else {
        KillTimer(parent, kTimerId);
    }
    return true;
}

// The parts' widths for the bar's DPI; the last reaches the bar's right end.
void StatusBar::SetParts() {
    const int dpi = win::WindowDpi(bar_);
    int edges[kStatusParts];
    int right = 0;
    for (size_t part = 0; part + 1 < kStatusParts; ++part) edges[part] = right += win::ScaleToDpi(kPartWidths[part], dpi);
    edges[kStatusParts - 1] = -1;
    SendMessageW(bar_, SB_SETPARTS, kStatusParts, reinterpret_cast<LPARAM>(edges));
}

int StatusBar::Layout() {
    if (!shown_) return 0;
    SendMessageW(bar_, WM_SIZE, 0, 0);
    SetParts();
    RECT place;
    GetWindowRect(bar_, &place);
    return place.bottom - place.top;
}

StatusFacts StatusBar::Facts() const {
    const records::RowBook& book = sources_.book;
    StatusFacts facts;
    facts.heldRows = book.Held().Count();
    facts.shownRows = book.Shown().Count();
    facts.filterInForce = book.Shown().InForce();
    facts.lastFiveSeconds = book.History().Recent(net::FileTimeNow(), kRateSeconds);
    facts.errorsHeld = book.Counts().ErrorsHeld();
    const bool wanted = sources_.settings && sources_.settings->ToFile;
    facts.capture = !wanted ? CaptureState::Off : sources_.captureFile.IsOpen() ? CaptureState::On : CaptureState::Failed;
    facts.dropped = sources_.deliveries.RecordsDroppedSoFar();
    facts.paused = sources_.list.Paused();
    facts.newWhilePaused = sources_.list.NewWhilePaused();
    return facts;
}

// Only the parts that changed are set: each costs the bar a repaint.
void StatusBar::Refresh(bool mustShow) {
    if (!shown_) return;
    const ULONGLONG tick = GetTickCount64();
    const ULONGLONG since = tick - toldAt_;
    if (since < kShortestIntervalMs) {
        if (mustShow) SetTimer(parent_, kTimerId, static_cast<UINT>(kShortestIntervalMs - since), nullptr);
        return;
    }
    toldAt_ = tick;
    SetTimer(parent_, kTimerId, kLookAgainMs, nullptr);
    const StatusTexts texts = FormatStatus(Facts());
    for (size_t part = 0; part < kStatusParts; ++part) {
        if (std::wcscmp(texts.part[part], told_.part[part]) == 0) continue;
        SendMessageW(bar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(texts.part[part]));
        std::wcscpy(told_.part[part], texts.part[part]);
    }
}

}  // namespace ui
