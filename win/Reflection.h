// Reflection.h: sending a control's notifications back to the control itself.
#pragma once

#include <windows.h>

#include "res/resource.h"

namespace win {

// Sends the message, reflected, to the child window it concerns. False when the
// message is not one that is reflected or concerns no child; true with the
// child's answer in result otherwise.
bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// True when the message is the reflected form of one that ReflectToChild reflects.
bool IsReflectedMessage(UINT message);

}  // namespace win
