// TrafficChart.h: the chart's child window: painted through a buffer, the bar under the pointer told in a tip.
#pragma once

#include <windows.h>

#include <string>

#include "ui/ChartPainting.h"
#include "win/Window.h"

namespace ui {

// Takes the font its parent gives it (WM_SETFONT), as a control does.
// WM_PRINTCLIENT paints it into the context given, as WM_PAINT does on the screen.
class TrafficChart : public win::Window {
public:
    TrafficChart() = default;

    bool Create(HWND parent, int id);
    // Shows this data from now on: painted again, and the tip told again.
    void Show(ChartData data);
    const ChartData& Data() const { return data_; }
    // The tip's window, for those who read what it says.
    HWND Tip() const { return tip_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void CreateTip();
    void Paint(HDC target);
    void OnMouseMove(POINT point);
    void TellBar();

    ChartData data_;
    HFONT font_ = nullptr;  // the parent's
    HWND tip_ = nullptr;    // owned by the window's top-level ancestor; destroyed with the chart
    int hovered_ = -1;      // the bar under the pointer
    bool trackingLeave_ = false;
    std::wstring tipText_;  // what the tip shows; it keeps no copy
};

}  // namespace ui
