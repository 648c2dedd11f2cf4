// IniSection.h: one whole section of an INI file as its lines, read, replaced or removed.
#pragma once

#include <string>
#include <vector>

namespace settings {

// The section of the options.
constexpr wchar_t kSettingsSection[] = L"Settings";

// The section's lines, "key=value", in the file's order, as the system gives
// them (comments and empty lines left out; a line without '=' as it stands);
// none when the file or the section is missing. May throw std::bad_alloc.
std::vector<std::wstring> ReadIniSection(const wchar_t* iniPath, const wchar_t* section);

// Replaces the section's lines with these, each "key=value"; a section the file
// lacks is added at its end. The rest of the file keeps its bytes. A failed
// write is not detected. May throw std::bad_alloc.
void WriteIniSection(const wchar_t* iniPath, const wchar_t* section, const std::vector<std::wstring>& lines);

// Adds the section, empty, at the file's end when the file lacks it, so that
// sections written after it come after it; a file that has it keeps its bytes.
void MakeSectionIfAbsent(const wchar_t* iniPath, const wchar_t* section);

// Removes the section with its lines; a file without it keeps its bytes.
void RemoveIniSection(const wchar_t* iniPath, const wchar_t* section);

}  // namespace settings
