// WatchCommands.h: the watch rules' dialog, their INI section, and F2 from one marked row to the next.
#pragma once

#include <windows.h>

#include <vector>

#include "app/MatchCalls.h"
#include "list/MessageList.h"
#include "records/RowBook.h"
#include "records/WatchRulesFile.h"

namespace app {

// The rules are read as the Main window is made and written back at exit,
// and when the dialog closes with OK, so a run that never reaches its exit
// (killed, or the machine switched off) keeps the rules made in it. A
// section left alone in the run keeps its bytes.
class WatchCommands {
public:
    WatchCommands(records::RowBook& book, list::MessageList& list, MatchCalls& calls)
        : book_(book), list_(list), calls_(calls) {}
    WatchCommands(const WatchCommands&) = delete;
    WatchCommands& operator=(const WatchCommands&) = delete;

    // False for a command that is not the rules'.
    bool OnCommand(WORD commandId, HWND owner, const wchar_t* iniPath);
    // What OK in the Watch rules dialog does: the rules colour, mark and call
    // from now on, and their section is written at once.
    void Set(std::vector<records::CountedRule> rules, const wchar_t* iniPath);

    // After the Settings, as they are read; each line that is no rule is told once.
    void Read(const wchar_t* iniPath);
    // After the Settings, as they are written, when the rules changed in this run.
    void Write(const wchar_t* iniPath) const;

private:
    void Edit(HWND owner, const wchar_t* iniPath);
    bool Use(std::vector<records::CountedRule> rules);

    records::RowBook& book_;
    list::MessageList& list_;
    MatchCalls& calls_;
    records::WatchRulesFile file_;
    bool changed_ = false;  // since they were read: only then are they written back
};

}  // namespace app
