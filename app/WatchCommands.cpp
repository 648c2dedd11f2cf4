// WatchCommands.cpp: the Watch rules dialog, going from one marked row to the next, and the rules' life.
#include "app/MainWindow.h"

#include <new>
#include <utility>

#include "diag/DiagnosticReporter.h"
#include "res/resource.h"
#include "ui/WatchRulesDialog.h"

namespace app {

bool MainWindow::OnWatchCommand(WORD commandId) {
    switch (commandId) {
    case ID_VIEW_WATCH_RULES:
        EditWatchRules();
        return true;
    case ID_NEXT_MARKED_ROW:
    case ID_PREVIOUS_MARKED_ROW:
        // As F3 it does not wrap around; at the end it only beeps, since F2 is pressed again and again.
        if (!messageList_.FindMarked(commandId == ID_NEXT_MARKED_ROW)) MessageBeep(MB_OK);
        return true;
    default:
        return false;
    }
}

// The dialog works on a copy: Cancel leaves the rules as they were.
void MainWindow::EditWatchRules() {
    try {
        std::vector<records::CountedRule> rules = book_.Rules().Rules();
        if (ui::EditWatchRules(Handle(), rules, book_.Held())) SetWatchRules(std::move(rules));
    } catch (const std::bad_alloc&) {
        diag::ReportOutOfMemory(L"use the watch rules");
    }
}

// The INI file is written at once, as at exit, the Settings first so that the
// sections keep their order: a run that never reaches its exit (killed, or the
// machine switched off) keeps the rules made in it.
void MainWindow::SetWatchRules(std::vector<records::CountedRule> rules) {
    if (!UseWatchRules(std::move(rules))) return;
    watchRulesChanged_ = true;
    if (settings_) settings_->Save(iniPath_);
    WriteWatchRules();
}

bool MainWindow::UseWatchRules(std::vector<records::CountedRule> rules) {
    if (!book_.SetRules(std::move(rules))) {
        diag::ReportOutOfMemory(L"use the watch rules");
        return false;
    }
    messageList_.Redraw();
    calls_.RulesChanged();
    calls_.WantIcon(book_.Rules().AnyNotifies());
    return true;
}

// After the Settings, as they are read; each line that is no rule is told once.
void MainWindow::ReadWatchRules() {
    UseWatchRules(watchRulesFile_.Read(iniPath_));
    watchRulesFile_.ReportKept();
}

// After the Settings, as they are written, when the rules changed in this
// run. Otherwise the section stays as it was, to the byte: comments and lines
// the system's profile calls would not write back included, and rules read
// but never put in force for want of memory.
void MainWindow::WriteWatchRules() const {
    if (watchRulesChanged_) watchRulesFile_.Write(iniPath_, book_.Rules().Rules());
}

}  // namespace app
