// MainWindowClassName.h: the main window's class name, by which other programs find it, and its title.
#pragma once

#include "res/resource.h"

namespace app {

constexpr char kMainWindowClassName[] = "KelvSysLog_wnd_class";
constexpr char kMainWindowTitle[] = PRODUCT_TITLE;

}  // namespace app
