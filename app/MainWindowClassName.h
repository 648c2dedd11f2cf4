// MainWindowClassName.h: the main window's class name, by which other programs find it, and its title.
#pragma once

namespace app {

constexpr char kMainWindowClassName[] = "KelvSysLog_wnd_class";
constexpr char kMainWindowTitle[] = "Kelv SysLog monitor";

}  // namespace app
