// TrafficWindowClassName.h: the Traffic window's class name, which tools outside the program look for.
#pragma once

namespace ui {

constexpr char kTrafficWindowClassName[] = "KelvSysLog_traffic";

}  // namespace ui
