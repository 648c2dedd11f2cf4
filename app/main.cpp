// main.cpp: start-up: make the Main window, run the message loop, always end with 0; a start that fails says why.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <new>

#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "app/ProcessMainWindow.h"
#include "app/StartFailure.h"
#include "res/resource.h"
#include "settings/IniPath.h"
#include "win/PostedMessageGuard.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const win::PostedMessageGuard guard;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    wchar_t iniPath[MAX_PATH];
    settings::IniPathOfThisProgram(iniPath);
    std::unique_ptr<app::MainWindow> mainWindow(new (std::nothrow) app::MainWindow(net::kSyslogPort, iniPath));
    if (!mainWindow) {
        app::ShowStartFailure({L"Cannot create the main window", E_OUTOFMEMORY});
        return 0;
    }
    app::SetProcessMainWindow(mainWindow.get());

    if (const HWND window = mainWindow->Create()) {
        const HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        ShowWindow(window, showCommand);
        UpdateWindow(window);
        app::RunMessageLoop(accelerators);
    } else {
        app::ShowStartFailure(mainWindow->StartFailed());
    }
    app::SetProcessMainWindow(nullptr);
    mainWindow.reset();
    return 0;
}
