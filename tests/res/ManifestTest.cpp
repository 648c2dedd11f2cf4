// ManifestTest.cpp: the built program's manifest as the system's loader reads it: an
// activation context made from resource 1, and what that context gives the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/res/ProgramFile.h"

namespace {

// An activation context made from the program's manifest, active while the object lives.
class ProgramContext {
public:
    ProgramContext() {
        const std::wstring path = program_file::Path();
        ACTCTXW wanted{};
        wanted.cbSize = sizeof wanted;
        wanted.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        wanted.lpSource = path.c_str();
        wanted.lpResourceName = MAKEINTRESOURCEW(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
        context_ = path.empty() ? INVALID_HANDLE_VALUE : CreateActCtxW(&wanted);
        if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
    }
    ~ProgramContext() {
        if (context_ == INVALID_HANDLE_VALUE) return;
        DeactivateActCtx(0, cookie_);
        ReleaseActCtx(context_);
    }
    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;

    bool Made() const { return context_ != INVALID_HANDLE_VALUE; }

    // A setting of the manifest's windowsSettings in the namespace, or "(none)".
    std::wstring Setting(const wchar_t* space, const wchar_t* name) const {
        wchar_t value[64] = {};
        SIZE_T length = 0;
        if (!QueryActCtxSettingsW(0, context_, space, name, value, sizeof value / sizeof value[0], &length))
            return L"(none)";
        return value;
    }

    ACTCTX_REQUESTED_RUN_LEVEL RunLevel() const {
        ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
        SIZE_T length = 0;
        if (!QueryActCtxW(0, context_, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, &length))
            return ACTCTX_RUN_LEVEL_UNSPECIFIED;
        return level.RunLevel;
    }

private:
    HANDLE context_;
    ULONG_PTR cookie_ = 0;
};

// The buttons of its dialogs come from Common Controls 6, not from the system's
// older ones; it is drawn at each monitor's DPI; it asks for no elevation.
TEST(Manifest, TheLoaderReadsItAndGivesCommonControls6PerMonitorDpiAndNoElevation) {
    ASSERT_FALSE(program_file::Path().empty()) << "MONITOR_EXE does not name the program";
    const ProgramContext context;
    ASSERT_TRUE(context.Made()) << "the loader cannot read the manifest, error " << GetLastError();

    const HWND button = CreateWindowExW(0, L"Button", L"", BS_AUTOCHECKBOX | WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    ASSERT_TRUE(button);
    EXPECT_NE(reinterpret_cast<LONG_PTR>(GetModuleHandleW(L"user32.dll")), GetClassLongPtrW(button, GCLP_HMODULE));
    DestroyWindow(button);

    EXPECT_EQ(0u, context.Setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness")
                      .find(L"PerMonitorV2"));
    EXPECT_EQ(L"true", context.Setting(nullptr, L"dpiAware")) << "older systems: the system's DPI";
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, context.RunLevel());
}

}  // namespace
