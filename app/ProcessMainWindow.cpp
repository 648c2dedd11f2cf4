// ProcessMainWindow.cpp: the reference the message loop and the diagnostic reporter go through.
#include "app/ProcessMainWindow.h"

#include <atomic>

#include "app/MainWindow.h"
#include "diag/DiagnosticReporter.h"

namespace app {

namespace {
std::atomic<MainWindow*> g_mainWindow{nullptr};
}

void SetProcessMainWindow(MainWindow* mainWindow) {
    g_mainWindow = mainWindow;
    diag::SetDiagnosticSink(mainWindow ? &mainWindow->Deliveries() : nullptr);
}

MainWindow* ProcessMainWindow() {
    return g_mainWindow;
}

HWND ProcessMainWindowHandle() {
    MainWindow* const mainWindow = g_mainWindow;
    return mainWindow ? mainWindow->Handle() : nullptr;
}

}  // namespace app
