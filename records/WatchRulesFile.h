// WatchRulesFile.h: the watch rules' section of the INI file, read at start and written back at exit.
#pragma once

#include <string>
#include <vector>

#include "records/WatchRules.h"

namespace records {

// A line of the section that holds no rule the program can read, kept to be written back as it was.
struct KeptLine {
    std::wstring key;   // the text before the first '=', or the whole line without one
    std::wstring line;  // as read
    std::wstring why;   // a short reason, in English
};

// Holds the kept lines from reading at start to writing at exit. Never throws.
class WatchRulesFile {
public:
    // Reads the section: the rules it holds as Rule<n>, in the file's order, at
    // most kMostWatchRules, none counted yet; every other line is kept. When
    // memory runs out, answers what was read by then, says so in the pane, and
    // Write leaves the section as it is, so the lines not read are not lost.
    std::vector<CountedRule> Read(const wchar_t* iniPath);

    const std::vector<KeptLine>& Kept() const { return kept_; }
    // Says in the pane, for each kept line, why it was not read.
    void ReportKept() const;

    // Replaces the section: the rules as Rule1, Rule2, ..., passing over the
    // numbers the kept lines' keys hold, then the kept lines as read. Without
    // either, the section is removed, and not created. When memory runs out,
    // nothing is written.
    void Write(const wchar_t* iniPath, const std::vector<CountedRule>& rules) const;

private:
    void ReadLine(std::wstring line, std::vector<CountedRule>& rules);
    bool NumberHeld(unsigned number) const;

    std::vector<KeptLine> kept_;
    bool readWhole_ = true;
};

}  // namespace records
