// AboutDialog.h: the About box with its version line and two links.
#pragma once

#include <windows.h>

#include "ui/Hyperlink.h"
#include "win/ModalDialog.h"

namespace ui {

// Run on dialog resource IDD_ABOUT. Reflects the controls' notifications back
// to them, so the links paint themselves.
class AboutDialog : public win::ModalDialog {
public:
    explicit AboutDialog(ShellOpenFunction shellOpen = ShellExecuteW);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnInit() override;

private:

    Hyperlink mailLink_;
    Hyperlink webLink_;
};

// Shows the About box modally over owner, with links not yet visited.
void RunAboutDialog(HWND owner);

}  // namespace ui
