// ProcessMainWindow.cpp: the reference the diagnostic reporter posts through.
#include "app/ProcessMainWindow.h"

#include <atomic>

#include "app/MainWindow.h"

namespace app {

namespace {
std::atomic<MainWindow*> g_mainWindow{nullptr};
}

void SetProcessMainWindow(MainWindow* mainWindow) {
    g_mainWindow = mainWindow;
}

HWND ProcessMainWindowHandle() {
    MainWindow* const mainWindow = g_mainWindow;
    return mainWindow ? mainWindow->Handle() : nullptr;
}

}  // namespace app
