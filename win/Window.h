// Window.h: a window object bound to its window handle, with a message map.
#pragma once

#include <windows.h>

namespace win {

// Registration data of a window class. The class is registered on the first
// creation of a window of that class and reused from then on.
struct WindowClass {
    const char* name;
    UINT style;
    HBRUSH background;
    HICON icon;
    HICON smallIcon;
    HCURSOR cursor;
    LPCSTR menu;
};

// Where and how a window is created.
struct WindowPlacement {
    HWND parent;
    const char* title;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;  // CW_USEDEFAULT in all four for the system's choice
    HMENU menuOrId;
};

// Base of every window object of the program. Every message of the window
// reaches OnMessage first; what it leaves unhandled goes to DefWindowProcA.
// The window is an 8-bit window, so common controls send it 8-bit notices.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

    // Registers the class if needed and creates the window bound to this object.
    HWND Create(const WindowClass& windowClass, const WindowPlacement& placement);

protected:
    // The message map: true when the message was handled, its answer in result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

    // Called once the window has had its last message and the handle is forgotten.
    virtual void OnFinalMessage() {}

private:
    static bool RegisterClassOnce(const WindowClass& windowClass);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// The module that holds the program's resources and window classes.
HINSTANCE ModuleInstance();

}  // namespace win
