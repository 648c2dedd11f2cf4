// StartFailureTest.cpp: a start that cannot make the Main window or a child of it says so in a message box.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/MainWindowClassName.h"
#include "app/ProcessMainWindow.h"
#include "app/StartFailure.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/DialogDriver.h"

namespace {

// Refuses, while it lives, to let this thread make a window of the class.
class RefusedClass {
public:
    explicit RefusedClass(const char* className)
        : hook_(SetWindowsHookExA(WH_CBT, OnCreating, nullptr, GetCurrentThreadId())) {
        refused_ = className;
    }
    ~RefusedClass() { UnhookWindowsHookEx(hook_); }
    RefusedClass(const RefusedClass&) = delete;
    RefusedClass& operator=(const RefusedClass&) = delete;

private:
    static LRESULT CALLBACK OnCreating(int code, WPARAM window, LPARAM details) {
        char className[64] = {};
        if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(window), className, sizeof className) &&
            lstrcmpiA(className, refused_) == 0) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 1;
        }
        return CallNextHookEx(nullptr, code, window, details);
    }

    static const char* refused_;
    HHOOK hook_;
};
const char* RefusedClass::refused_ = nullptr;

// The message box's text, as the user reads it; closed with OK.
std::wstring BoxShownFor(const app::StartFailure& failure) {
    std::wstring text;
    dialog_driver::ModalScript script({[&] {
        const HWND box = dialog_driver::FindDialog(L"Kelv SysLog monitor");
        if (!box) return false;
        text = dialog_driver::StaticText(box);
        dialog_driver::PressButton(box, IDOK);
        return true;
    }});
    app::ShowStartFailure(failure);
    EXPECT_TRUE(script.Finished());
    return text;
}

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST(StartFailure, WhatCouldNotBeMadeIsShownWithItsCodeAndTheSystemsText) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    const StatusCode accessDenied = StatusFromError(ERROR_ACCESS_DENIED);
    const struct {
        const char* refused;
        const wchar_t* said;
    } cases[] = {
        {WC_LISTVIEWA, L"Cannot create the message list"},
        {"EDIT", L"Cannot create the diagnostics pane"},
        {app::kMainWindowClassName, L"Cannot create the main window"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.refused);
        testing_support::TempFolder folder;
        app::MainWindow window(testing_support::kAnyFreePort, folder.File(L"monitor.INI").c_str());
        app::SetProcessMainWindow(&window);
        {
            const RefusedClass refused(test.refused);
            EXPECT_EQ(nullptr, window.Create());
        }
        app::SetProcessMainWindow(nullptr);
        EXPECT_EQ(std::wstring(test.said), window.StartFailed().what ? window.StartFailed().what : L"(nothing)");
        EXPECT_EQ(accessDenied, window.StartFailed().status);
        EXPECT_EQ(test.said + (L"\r\n[0x80070005] " + Wide(testing_support::SystemText(accessDenied))),
                  BoxShownFor(window.StartFailed()));
    }
}

}  // namespace
