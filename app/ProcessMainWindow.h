// ProcessMainWindow.h: the one program-wide reference to the Main window.
#pragma once

#include <windows.h>

namespace app {

class MainWindow;

// Set right after the Main window object is made, before its window exists;
// its queue becomes where every diagnostic goes. Null withdraws both.
void SetProcessMainWindow(MainWindow* mainWindow);

// The Main window's current handle, or null; callable from any thread.
HWND ProcessMainWindowHandle();

// The Main window object, or null; for the UI thread.
MainWindow* ProcessMainWindow();

}  // namespace app
