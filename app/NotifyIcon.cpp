// NotifyIcon.cpp: Shell_NotifyIconW for the monitor's icon: added, its balloon set, removed.
#include "app/NotifyIcon.h"

#include "app/CallPacing.h"
#include "app/MainWindowClassName.h"
#include "res/resource.h"
#include "win/Window.h"

namespace app {

namespace {

static_assert(CallPacing::kMostTitleBytes < sizeof NOTIFYICONDATAW::szInfoTitle / sizeof(wchar_t), "a title fits");
static_assert(CallPacing::kMostTextBytes < sizeof NOTIFYICONDATAW::szInfo / sizeof(wchar_t), "a text fits");

// 8-bit text in the system's code page, as the list shows it, into a wide
// field; a byte never makes more than one wide character, so what the pacing
// cut to size fits.
template <size_t size>
void CopyWide(const std::string& text, wchar_t (&field)[size]) {
    const int written = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), field,
                                            static_cast<int>(size) - 1);
    field[written > 0 ? written : 0] = L'\0';
}

}  // namespace

void NotifyIcon::Start(HWND window) {
    window_ = window;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    image_ = static_cast<HICON>(LoadImageW(win::ModuleInstance(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

void NotifyIcon::Want(bool want) {
    wanted_ = want;
    if (want)
        Show();
    else
        Hide();
}

void NotifyIcon::Notify(const std::string& title, const std::string& text) {
    if (!wanted_) return;
    Show();  // the shell may have come up since the last try
    NOTIFYICONDATAW data = Data(NIF_INFO);
    CopyWide(title, data.szInfoTitle);
    CopyWide(text, data.szInfo);
    // The beep is the rule's to give, not the shell's.
    data.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

bool NotifyIcon::OnShellRestarted(UINT message) {
    if (!taskbarCreated_ || message != taskbarCreated_) return false;
    shown_ = false;
    if (wanted_) Show();
    return true;
}

void NotifyIcon::Stop() {
    Hide();
    wanted_ = false;
    if (image_) DestroyIcon(image_);
    image_ = nullptr;
}

NOTIFYICONDATAW NotifyIcon::Data(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = flags;
    return data;
}

void NotifyIcon::Show() {
    if (shown_ || !window_) return;
    NOTIFYICONDATAW data = Data(NIF_ICON | NIF_MESSAGE | NIF_TIP);
    data.hIcon = image_;
    data.uCallbackMessage = UM_NOTIFY_ICON;
    CopyWide(kMainWindowTitle, data.szTip);
    shown_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void NotifyIcon::Hide() {
    if (!shown_) return;
    NOTIFYICONDATAW data = Data(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
    shown_ = false;
}

}  // namespace app
