// DialogDriver.h: driving modal dialogs from inside their own message loops.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace dialog_driver {

// Only windows of the calling thread are looked at, so tests running side by
// side never touch each other's dialogs.

// A visible dialog of this thread with exactly that title, or null.
HWND FindDialog(const wchar_t* title);

// A visible dialog of this thread owned by owner, or null.
HWND FindDialogOwnedBy(HWND owner);

std::wstring Text(HWND window);
std::string TextA(HWND window);

// The first non-empty text of a static control in the dialog (a message box's message).
std::wstring StaticText(HWND dialog);

// Presses a button the way the dialog manager reports it; posted, so a dialog
// that the press opens runs in the dialog's loop, not in the caller.
void PressButton(HWND dialog, int buttonId);

// An Escape key press, through the dialog's loop.
void PressEscape(HWND dialog);

// The title bar's close button.
void PressClose(HWND dialog);

// A mouse click on a check box (or any button): it changes state and notifies its dialog.
void Click(HWND dialog, int buttonId);

// The file-name box of a save-file dialog (an edit box in some layouts, a combo box in others).
HWND FileNameBox(HWND fileDialog);

// Dispatches whatever messages are queued now, without waiting.
void DispatchPending();

// A list of steps run one after another from a thread timer, so they act
// while a modal loop (a dialog, a message box, a file dialog) dispatches
// messages. A step answers true when it is done and false to be tried again
// at the next tick. If the steps are not done after a long time, every dialog
// of the thread is ended so the test can fail instead of hanging.
class ModalScript {
public:
    using Step = std::function<bool()>;

    ModalScript(std::initializer_list<Step> steps);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Finished() const { return next_ == steps_.size(); }
    bool GaveUp() const { return gaveUp_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunDueStep();
    void EndEveryDialog();

    std::vector<Step> steps_;
    size_t next_ = 0;
    bool inStep_ = false;
    bool gaveUp_ = false;
    ULONGLONG deadline_;
    UINT_PTR timer_;
};

// A step that waits for the Options dialog and hands it over.
ModalScript::Step FindOptions(HWND& dialog);

// View > Options over the main window, closed with OK and nothing changed (which
// reopens the Capture file by its name). Answers whether it went so.
bool ApplyOptionsUnchanged(HWND mainWindow);

// A step that waits for the save-file dialog over owner, types the path, and
// presses its OK once the path still stands there at the next tick (the
// dialog may fill the box itself while it settles).
ModalScript::Step ChooseInFileDialog(HWND owner, const std::wstring& path, HWND& fileDialog);

}  // namespace dialog_driver
