// Window.cpp: window-class registration and the window procedure shared by every window object.
#include "win/Window.h"

namespace win {

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

// Every window class of ours starts its windows in WindowProc, which binds them to their objects.
bool Window::RegisterClassOnce(const WindowClass& windowClass) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(ModuleInstance(), windowClass.name, &wc)) return true;

    wc.style = windowClass.style;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.hIcon = windowClass.icon;
    wc.hIconSm = windowClass.smallIcon;
    wc.hCursor = windowClass.cursor;
    wc.hbrBackground = windowClass.background;
    wc.lpszMenuName = windowClass.menu;
    wc.lpszClassName = windowClass.name;
    return RegisterClassExA(&wc) != 0;
}

Window::~Window() {
    // The object is going: its window, if still there, is cut loose from it first.
    if (!hwnd_) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

HWND Window::Create(const WindowClass& windowClass, const WindowPlacement& placement) {
    if (!RegisterClassOnce(windowClass)) return nullptr;
    return CreateWindowExA(placement.exStyle, windowClass.name, placement.title, placement.style,
                           placement.x, placement.y, placement.width, placement.height,
                           placement.parent, placement.menuOrId, ModuleInstance(), this);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    if (!self->OnMessage(message, wParam, lParam, result))
        result = DefWindowProcA(hwnd, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

}  // namespace win
