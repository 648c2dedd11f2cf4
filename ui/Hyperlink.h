// Hyperlink.h: a static text that shows itself as a link and opens its text through the shell.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "win/SubclassedWindow.h"

namespace ui {

// The shell's open call, in the form of ShellExecuteW; tests put their own in its place.
using ShellOpenFunction = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                              LPCWSTR directory, INT showCommand);

// Attached to a static control (with SS_NOTIFY) of a dialog that reflects its
// notifications: paints the text underlined, blue until opened and dark red
// after, shows the hand cursor, and opens the text on a left click, as a
// "mailto:" link when it holds '@'.
class Hyperlink : public win::SubclassedWindow {
public:
    explicit Hyperlink(ShellOpenFunction shellOpen = ShellExecuteW);
    ~Hyperlink() override;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Open();
    LRESULT SetUpPaint(HDC dc);
    void MakeUnderlinedFont();

    HFONT underlinedFont_ = nullptr;
    HFONT ownFont_ = nullptr;  // the control's font before the underlined one, given back at the end
    HCURSOR handCursor_;
    bool fontToBeMade_ = true;
    bool visited_ = false;
    ShellOpenFunction shellOpen_;
};

}  // namespace ui
