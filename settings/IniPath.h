// IniPath.h: where the settings live, beside the executable.
#pragma once

#include <windows.h>

namespace settings {

// The executable's path with everything from its last '.' replaced by ".INI";
// with ".INI" appended when it holds no '.'. A path too long to take ".INI"
// is cut so that it does, never past the buffer. Never the executable's own path.
void MakeIniPath(const wchar_t* executablePath, wchar_t (&iniPath)[MAX_PATH]);

// The INI path of the running executable.
void IniPathOfThisProgram(wchar_t (&iniPath)[MAX_PATH]);

}  // namespace settings
