// TrafficWindow.h: the Traffic window: messages per second by severity over a span, the top senders, hosts and apps.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "records/FilterByRow.h"
#include "records/RowBook.h"
#include "settings/Settings.h"
#include "ui/TopList.h"
#include "ui/TrafficChart.h"
#include "win/GdiObject.h"
#include "win/Window.h"

namespace ui {

// Modeless, resizable and owned by the Main window; one at a time. While
// open it reads the row book's counts once a second, never its rows: the
// history of the span chosen for the chart, and the senders, hosts and apps
// with most rows held below it. A double click on one of them (or Enter)
// hands the owner its key, to show only that one.
class TrafficWindow : public win::Window {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kUpdateMs = 1000;
    static constexpr size_t kTopCount = 10;

    // The row's keys hold the one chosen, of the kind key names.
    using ShowOnlyAction = std::function<void(const records::RowKeys& keys, records::RowKey key)>;

    TrafficWindow(const records::RowBook& book, ShowOnlyAction showOnly)
        : book_(book), showOnly_(std::move(showOnly)) {}

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
    HWND TopSenders() const { return tops_[kSenders].list.List(); }
    HWND TopHosts() const { return tops_[kHosts].list.List(); }
    HWND TopApps() const { return tops_[kApps].list.List(); }
    HWND SpanChoice() const { return span_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnCreate();
    void OnDestroy();
    void UseDpi(int dpi);
    void LayOut();
    void Update();
    void ShowTops();
    bool OnNotify(const NMHDR& notice);

    // A top list and the keys of its rows as it shows them, for the double click.
    struct KeyedTop {
        records::RowKey key;
        TopList list;
        std::vector<records::RowKeys> listed;
    };
    enum Top { kSenders, kHosts, kApps, kTops };

    const records::RowBook& book_;
    ShowOnlyAction showOnly_;
    HWND span_ = nullptr;  // the span's choice: a child, destroyed with the window
    TrafficChart chart_;
    KeyedTop tops_[kTops] = {{records::RowKey::kSender, {}, {}},
                             {records::RowKey::kHost, {}, {}},
                             {records::RowKey::kApp, {}, {}}};
    win::GdiObject<HFONT> font_;
    int dpi_ = 0;
    std::optional<settings::WindowPlace> lastPlace_;
};

}  // namespace ui
