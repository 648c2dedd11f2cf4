// IniSection.cpp: a section through the system's private-profile calls, which leave the rest of the file alone.
#include "settings/IniSection.h"

#include <windows.h>

#include <new>

namespace settings {

namespace {

constexpr DWORD kFirstCapacity = 4096;  // characters: a few dozen rules
// What the system answers, less the capacity, when the section does not fit.
constexpr DWORD kCutShort = 2;

}  // namespace

std::vector<std::wstring> ReadIniSection(const wchar_t* iniPath, const wchar_t* section) {
    // "line\0line\0\0": the count the system answers covers every line's terminator.
    std::wstring block;
    for (DWORD capacity = kFirstCapacity;; capacity *= 2) {
        block.resize(capacity);
        const DWORD length = GetPrivateProfileSectionW(section, &block[0], capacity, iniPath);
        if (length + kCutShort < capacity) {
            block.resize(length);
            break;
        }
        if (capacity > MAXDWORD / 2) throw std::bad_alloc();  // more than the calls can hand over
    }
    std::vector<std::wstring> lines;
    for (size_t start = 0; start < block.size();) {
        size_t end = block.find(L'\0', start);
        if (end == std::wstring::npos) end = block.size();
        lines.push_back(block.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void WriteIniSection(const wchar_t* iniPath, const wchar_t* section, const std::vector<std::wstring>& lines) {
    std::wstring block;
    for (const std::wstring& line : lines) {
        block += line;
        block += L'\0';
    }
    block += L'\0';
    WritePrivateProfileSectionW(section, block.c_str(), iniPath);
}

// The names come as "name\0name\0\0"; a section that does not fit the first block is looked for no further.
void MakeSectionIfAbsent(const wchar_t* iniPath, const wchar_t* section) {
    wchar_t names[kFirstCapacity];
    const DWORD length = GetPrivateProfileSectionNamesW(names, kFirstCapacity, iniPath);
    for (const wchar_t* name = names; name < names + length && *name; name += lstrlenW(name) + 1)
        if (lstrcmpiW(name, section) == 0) return;
    // A key written and taken away again leaves the section's header alone.
    constexpr wchar_t kPlaceHolder[] = L"-";
    WritePrivateProfileStringW(section, kPlaceHolder, L"", iniPath);
    WritePrivateProfileStringW(section, kPlaceHolder, nullptr, iniPath);
}

void RemoveIniSection(const wchar_t* iniPath, const wchar_t* section) {
    WritePrivateProfileStringW(section, nullptr, nullptr, iniPath);
}

}  // namespace settings
