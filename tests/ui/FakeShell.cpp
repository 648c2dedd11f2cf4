// FakeShell.cpp: records each call and answers the chosen result.
#include "tests/ui/FakeShell.h"

namespace fake_shell {

Call lastCall;

namespace {
INT_PTR g_answer = 0;
}

void Reset(INT_PTR answer) {
    lastCall = Call();
    g_answer = answer;
}

HINSTANCE WINAPI Open(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                      INT showCommand) {
    const int count = lastCall.count + 1;
    lastCall = {count,
                owner == nullptr,
                verb ? verb : L"",
                file ? file : L"",
                parameters == nullptr,
                directory == nullptr,
                showCommand};
    return reinterpret_cast<HINSTANCE>(g_answer);
}

}  // namespace fake_shell
