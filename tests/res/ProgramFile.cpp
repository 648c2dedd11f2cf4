// ProgramFile.cpp: finds the built program through the environment.
#include "tests/res/ProgramFile.h"


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

Module OpenAsDataFile() {
    const std::wstring path = Path();
    return Module(path.empty() ? nullptr : LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::vector<BYTE> ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
    const HRSRC found = FindResourceW(module, name, type);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return {};
    return std::vector<BYTE>(bytes, bytes + SizeofResource(module, found));
}

}  // namespace program_file
