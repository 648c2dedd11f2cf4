// ProgramFile.h: the built program's file, for the tests that read its resources back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace program_file {

// The path that MONITOR_EXE names (ctest sets it to the built program), or
// empty when it is not set.
std::wstring Path();

struct ModuleReleaser {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleReleaser>;

// The program opened as a data file, for its resources; null when it cannot be.
Module OpenAsDataFile();

// A resource's bytes, copied out of the module; empty when it is not there.
std::vector<BYTE> ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type);

}  // namespace program_file
