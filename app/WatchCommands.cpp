// WatchCommands.cpp: the rules edited on a copy, put in force in the book, and their section of the INI file.
#include "app/WatchCommands.h"

#include <new>
#include <utility>

#include "diag/DiagnosticReporter.h"
#include "res/resource.h"
#include "settings/IniSection.h"
#include "ui/WatchRulesDialog.h"

namespace app {

namespace {
const wchar_t kUseTheRules[] = L"use the watch rules";
}  // namespace

bool WatchCommands::OnCommand(WORD commandId, HWND owner, const wchar_t* iniPath) {
    switch (commandId) {
    case ID_VIEW_WATCH_RULES:
        Edit(owner, iniPath);
        return true;
    case ID_NEXT_MARKED_ROW:
    case ID_PREVIOUS_MARKED_ROW:
        // As F3 it does not wrap around; at the end it only beeps, since F2 is pressed again and again.
        if (!list_.FindMarked(commandId == ID_NEXT_MARKED_ROW)) MessageBeep(MB_OK);
        return true;
    default:
        return false;
    }
}

// The dialog works on a copy: Cancel leaves the rules as they were.
void WatchCommands::Edit(HWND owner, const wchar_t* iniPath) {
    try {
        std::vector<records::CountedRule> rules = book_.Rules().Rules();
        if (ui::EditWatchRules(owner, rules, book_.Held())) Set(std::move(rules), iniPath);
    } catch (const std::bad_alloc&) {
        diag::ReportOutOfMemory(kUseTheRules);
    }
}

// The Settings' section, where the file has none yet, is made first and
// empty, so the sections keep their order; its values still reach the file
// only at exit.
void WatchCommands::Set(std::vector<records::CountedRule> rules, const wchar_t* iniPath) {
    if (!Use(std::move(rules))) return;
    changed_ = true;
    settings::MakeSectionIfAbsent(iniPath, settings::kSettingsSection);
    Write(iniPath);
}

bool WatchCommands::Use(std::vector<records::CountedRule> rules) {
    if (!book_.SetRules(std::move(rules))) {
        diag::ReportOutOfMemory(kUseTheRules);
        return false;
    }
    list_.Redraw();
    calls_.RulesChanged();
    calls_.WantIcon(book_.Rules().AnyNotifies());
    return true;
}

void WatchCommands::Read(const wchar_t* iniPath) {
    Use(file_.Read(iniPath));
    file_.ReportKept();
}

// Otherwise the section stays as it was, to the byte: comments and lines the
// system's profile calls would not write back included, and rules read but
// never put in force for want of memory.
void WatchCommands::Write(const wchar_t* iniPath) const {
    if (changed_) file_.Write(iniPath, book_.Rules().Rules());
}

}  // namespace app
