// SplitterBar.h: the bar between the Message list and the Diagnostics pane, and the ratio it keeps.
#pragma once

#include <windows.h>

#include "win/Window.h"

namespace ui {

// Where the list ends when the Main window is made: 875/1000 of the client height.
int StartListBottom(int clientHeight);

class SplitterBar : public win::Window {
public:
    SplitterBar();

    // Takes the ratio from where the upper window ends and creates the bar there.
    HWND Create(HWND parent, HWND upper, HWND lower);

    // Places the upper window, the bar and the lower window from the ratio.
    void Layout(int clientWidth, int clientHeight);

    // Takes the bar's thickness and its edges' inset for the DPI; the next Layout applies them.
    void SetDpi(int dpi);

    // The height at the client area's bottom that another window takes (a
    // status bar): the three windows and the ratio live in the height above
    // it. The next Layout applies it.
    void SetReservedBottom(int height) { reservedBottom_ = height; }

    float Ratio() const { return ratio_; }
    int Thickness() const { return thickness_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Drag(LPARAM pressPoint);
    void Paint();

    float ratio_;
    int thickness_;
    HWND parent_ = nullptr;
    HWND upper_ = nullptr;
    HWND lower_ = nullptr;
    int paintInset_;
    int rightMargin_ = 0;
    int reservedBottom_ = 0;
};

}  // namespace ui
