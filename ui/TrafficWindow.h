// TrafficWindow.h: the Traffic window: messages per second by severity over a span, and the top senders.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "records/RowBook.h"
#include "records/SenderCensus.h"
#include "settings/Settings.h"
#include "ui/TopList.h"
#include "ui/TrafficChart.h"
#include "win/GdiObject.h"
#include "win/Window.h"

namespace ui {

// Modeless, resizable and owned by the Main window; one at a time. While
// open it reads the row book's counts once a second, never its rows: the
// history of the span chosen for the chart, and the senders with most rows
// held below it. A double click on a sender (or Enter) hands it to the owner.
class TrafficWindow : public win::Window {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kUpdateMs = 1000;
    static constexpr size_t kTopCount = 10;

    using SenderAction = std::function<void(std::uint32_t sender)>;

    TrafficWindow(const records::RowBook& book, SenderAction showOnlySender)
        : book_(book), showOnlySender_(std::move(showOnlySender)) {}

    // Opens it owned by owner, at the place given (moved onto a screen if it
    // lies off every one) or where the system puts it; an open one is
    // brought to the front instead. False when it could not be made.
    bool Open(HWND owner, const std::optional<settings::WindowPlace>& place);
    // Closes it, if open, remembering its place.
    void Close() {
        if (Handle()) DestroyWindow(Handle());
    }
    // Where it was when it last closed; absent until it has been open and closed.
    const std::optional<settings::WindowPlace>& LastPlace() const { return lastPlace_; }

    const TrafficChart& Chart() const { return chart_; }
    HWND TopSenders() const { return senders_.List(); }
    HWND SpanChoice() const { return span_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnCreate();
    void OnDestroy();
    void UseDpi(int dpi);
    void LayOut();
    void Update();
    bool OnNotify(const NMHDR& notice);
    void ShowOnlySenderAt(int row);

    const records::RowBook& book_;
    SenderAction showOnlySender_;
    HWND span_ = nullptr;  // the span's choice: a child, destroyed with the window
    TrafficChart chart_;
    // Top hosts and top apps take their places beside the senders (LayOut).
    TopList senders_;
    std::vector<records::SenderCount> sendersListed_;  // as the list shows them, for the double click
    win::GdiObject<HFONT> font_;
    int dpi_ = 0;
    std::optional<settings::WindowPlace> lastPlace_;
};

}  // namespace ui
