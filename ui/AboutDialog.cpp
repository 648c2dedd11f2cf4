// AboutDialog.cpp: attaching the links, the version line, and the reflection.
#include "ui/AboutDialog.h"

#include <cwchar>

#include "res/resource.h"
#include "win/Reflection.h"

namespace ui {

namespace {

const wchar_t kVersionFormat[] = L"Kelv Syslog monitor Version %d.%d.%d%d";
constexpr size_t kVersionLineCapacity = 64;

}  // namespace

AboutDialog::AboutDialog(ShellOpenFunction shellOpen) : mailLink_(shellOpen), webLink_(shellOpen) {}

// What the common cases leave goes back to the control that sent it.
bool AboutDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (win::ModalDialog::OnMessage(message, wParam, lParam, result)) return true;
    return win::ReflectToChild(Handle(), message, wParam, lParam, result);
}

// A link that cannot be attached stays a plain static; the focus goes to the OK button.
bool AboutDialog::OnInit() {
    mailLink_.Attach(GetDlgItem(Handle(), IDC_MAIL_LINK));
    webLink_.Attach(GetDlgItem(Handle(), IDC_WEB_LINK));
    wchar_t versionLine[kVersionLineCapacity];
    std::swprintf(versionLine, kVersionLineCapacity, kVersionFormat, VERSION_MAJOR, VERSION_MINOR, VERSION_PATCH,
                  VERSION_BUILD);
    SetDlgItemTextW(Handle(), IDC_VERSION_LINE, versionLine);
    return true;
}

void RunAboutDialog(HWND owner) {
    AboutDialog about;
    about.RunModal(owner, IDD_ABOUT);
}

}  // namespace ui
