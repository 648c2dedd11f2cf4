// ProgramFile.h: the built program's file, for the tests that read its resources back.
#pragma once

#include <string>

namespace program_file {

// The path that MONITOR_EXE names (ctest sets it to the built program), or
// empty when it is not set.
std::wstring Path();

}  // namespace program_file
