// FakeShell.h: stands in for the shell's open call, so opening a link runs no program.
#pragma once

#include <windows.h>

#include <string>

namespace fake_shell {

// An answer of the shell's for an open that worked (anything above 32).
constexpr INT_PTR kOpened = 42;

struct Call {
    int count = 0;
    bool ownerNull = false;
    std::wstring verb;
    std::wstring file;
    bool parametersNull = false;
    bool directoryNull = false;
    INT showCommand = 0;
};

// What the fake was last asked, and how many times.
extern Call lastCall;

// Forgets the calls and sets what the fake answers from now on.
void Reset(INT_PTR answer);

HINSTANCE WINAPI Open(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                      INT showCommand);

}  // namespace fake_shell
