// DialogDriver.cpp: finding this thread's dialogs and acting on them from a timer.
#include "tests/ui/DialogDriver.h"

#include "res/resource.h"

namespace dialog_driver {

namespace {

constexpr UINT kTickMs = 15;
constexpr ULONGLONG kGiveUpAfterMs = 30000;  // a hang guard, not a timing expectation
constexpr size_t kTextCapacity = 8192;
const wchar_t kOptionsTitle[] = L"Kelv Syslog Options";

ModalScript* g_runningScript = nullptr;

// The file dialog's own control identifiers (from <dlgs.h>).
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFileNameCombo = 0x47c;  // cmb13

bool IsDialogWindow(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770";
}

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (IsDialogWindow(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

HWND FindDialog(const wchar_t* title) {
    for (HWND dialog : ThreadDialogs())
        if (IsWindowVisible(dialog) && Text(dialog) == title) return dialog;
    return nullptr;
}

HWND FindDialogOwnedBy(HWND owner) {
    for (HWND dialog : ThreadDialogs())
        if (IsWindowVisible(dialog) && GetWindow(dialog, GW_OWNER) == owner) return dialog;
    return nullptr;
}

std::wstring Text(HWND window) {
    std::wstring text(kTextCapacity, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(kTextCapacity))));
    return text;
}

std::string TextA(HWND window) {
    std::string text(kTextCapacity, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(kTextCapacity))));
    return text;
}

std::wstring StaticText(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (_wcsicmp(className, L"Static") != 0) continue;
        const std::wstring text = Text(child);
        if (!text.empty()) return text;
    }
    return std::wstring();
}

void PressButton(HWND dialog, int buttonId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

void PressEscape(HWND dialog) {
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

void PressClose(HWND dialog) {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Click(HWND dialog, int buttonId) {
    SendMessageW(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

HWND FileNameBox(HWND fileDialog) {
    const HWND combo = GetDlgItem(fileDialog, kFileNameCombo);
    return combo ? combo : GetDlgItem(fileDialog, kFileNameEdit);
}

void DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

ModalScript::ModalScript(std::initializer_list<Step> steps)
    : steps_(steps), deadline_(GetTickCount64() + kGiveUpAfterMs) {
    g_runningScript = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, timer_);
    if (g_runningScript == this) g_runningScript = nullptr;
}

ModalScript::Step FindOptions(HWND& dialog) {
    return [&dialog] {
        dialog = FindDialog(kOptionsTitle);
        return dialog != nullptr;
    };
}

bool ApplyOptionsUnchanged(HWND mainWindow) {
    HWND dialog = nullptr;
    ModalScript ok({FindOptions(dialog), [&dialog] {
                        PressButton(dialog, IDOK);
                        return true;
                    }});
    SendMessageW(mainWindow, WM_COMMAND, ID_VIEW_OPTIONS, 0);
    return ok.Finished();
}

ModalScript::Step ChooseInFileDialog(HWND owner, const std::wstring& path, HWND& fileDialog) {
    return [owner, path, &fileDialog] {
        fileDialog = FindDialogOwnedBy(owner);
        if (!fileDialog || !FileNameBox(fileDialog)) return false;
        if (Text(FileNameBox(fileDialog)) != path) {
            SetWindowTextW(FileNameBox(fileDialog), path.c_str());
            return false;
        }
        PressButton(fileDialog, IDOK);
        return true;
    };
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_runningScript) g_runningScript->RunDueStep();
}

// A step may itself run a modal loop, in which the timer fires again: that
// tick is let pass.
void ModalScript::RunDueStep() {
    if (inStep_ || Finished()) return;
    if (gaveUp_ || GetTickCount64() > deadline_) {
        gaveUp_ = true;
        EndEveryDialog();
        return;
    }
    inStep_ = true;
    if (steps_[next_]()) ++next_;
    inStep_ = false;
}

void ModalScript::EndEveryDialog() {
    for (HWND dialog : ThreadDialogs()) EndDialog(dialog, IDCANCEL);
}

}  // namespace dialog_driver
