// ProgramFile.cpp: finds the built program through the environment.
#include "tests/res/ProgramFile.h"

#include <windows.h>

namespace program_file {

std::wstring Path() {
    const wchar_t kVariable[] = L"MONITOR_EXE";
    const DWORD capacity = GetEnvironmentVariableW(kVariable, nullptr, 0);
    if (capacity == 0) return {};
    std::wstring path(capacity, L'\0');
    const DWORD length = GetEnvironmentVariableW(kVariable, &path[0], capacity);
    path.resize(length < capacity ? length : 0);
    return path;
}

}  // namespace program_file
