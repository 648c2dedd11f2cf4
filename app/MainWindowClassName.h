// MainWindowClassName.h: the main window's class name, by which other programs find it.
#pragma once

namespace app {

constexpr char kMainWindowClassName[] = "KelvSysLog_wnd_class";

}  // namespace app
