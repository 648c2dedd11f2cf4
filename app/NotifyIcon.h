// NotifyIcon.h: the monitor's icon in the notification area and the notifications it shows.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace app {

// The icon (uID kIconId) belongs to the window given to Start and calls it
// back with UM_NOTIFY_ICON. It is shown only while wanted, and shown again
// when the shell restarts, which forgets every icon.
class NotifyIcon {
public:
    static constexpr UINT kIconId = 1;

    NotifyIcon() = default;
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;
    ~NotifyIcon() { Stop(); }

    void Start(HWND window);
    void Want(bool want);
    // A notification from the icon; the texts are 8-bit, as received.
    void Notify(const std::string& title, const std::string& text);
    // Whether the message is the shell's "TaskbarCreated"; the icon, if wanted, is back.
    bool OnShellRestarted(UINT message);
    // The icon goes and its image is released.
    void Stop();

private:
    NOTIFYICONDATAW Data(UINT flags) const;
    void Show();
    void Hide();

    HWND window_ = nullptr;
    HICON image_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool wanted_ = false;
    bool shown_ = false;
};

}  // namespace app
