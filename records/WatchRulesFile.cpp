// WatchRulesFile.cpp: a line is a rule only when its key and every field can be read; anything else is kept.
#include "records/WatchRulesFile.h"

#include <cwchar>
#include <new>
#include <string_view>
#include <utility>

#include "diag/DiagnosticReporter.h"
#include "records/WatchRuleText.h"
#include "settings/IniSection.h"

namespace records {

namespace {

const wchar_t kSection[] = L"WatchRules";
const wchar_t kKeyPrefix[] = L"Rule";
constexpr size_t kKeyPrefixLength = 4;
constexpr size_t kMostKeyDigits = 9;  // fits an unsigned

// The n of a key Rule<n>, n from 1 without leading zeros, in any case as the
// system compares keys; 0 for any other key.
unsigned RuleNumber(std::wstring_view key) {
    if (key.size() <= kKeyPrefixLength || key.size() > kKeyPrefixLength + kMostKeyDigits ||
        _wcsnicmp(key.data(), kKeyPrefix, kKeyPrefixLength) != 0 || key[kKeyPrefixLength] == L'0')
        return 0;
    unsigned number = 0;
    for (const wchar_t c : key.substr(kKeyPrefixLength)) {
        if (c < L'0' || c > L'9') return 0;
        number = number * 10 + static_cast<unsigned>(c - L'0');
    }
    return number;
}

}  // namespace

std::vector<CountedRule> WatchRulesFile::Read(const wchar_t* iniPath) {
    std::vector<CountedRule> rules;
    kept_.clear();
    readWhole_ = true;
    try {
        for (std::wstring& line : settings::ReadIniSection(iniPath, kSection)) ReadLine(std::move(line), rules);
    } catch (const std::bad_alloc&) {
        readWhole_ = false;
        diag::Report(E_OUTOFMEMORY,
                     L"Cannot read every watch rule in the INI file: out of memory; they are kept as written\n");
    }
    return rules;
}

void WatchRulesFile::ReadLine(std::wstring line, std::vector<CountedRule>& rules) {
    const size_t equals = line.find(L'=');
    CountedRule counted;
    std::wstring why;
    if (equals == std::wstring::npos)
        why = L"no \"=\" after the key";
    else if (!RuleNumber(std::wstring_view(line).substr(0, equals)))
        why = L"key not of the form Rule<n>";
    else if (ReadWatchRuleText(line.substr(equals + 1), counted.rule, why)) {
        if (rules.size() < kMostWatchRules) {
            rules.push_back(std::move(counted));
            return;
        }
        why = L"more than " + std::to_wstring(kMostWatchRules) + L" rules";
    }
    std::wstring key = line.substr(0, equals);
    kept_.push_back({std::move(key), std::move(line), std::move(why)});
}

void WatchRulesFile::ReportKept() const {
    for (const KeptLine& kept : kept_)
        diag::Report(S_OK, L"Cannot read watch rule %s in the INI file (%s); it is kept as written\n", kept.key.c_str(),
                     kept.why.c_str());
}

bool WatchRulesFile::NumberHeld(unsigned number) const {
    for (const KeptLine& kept : kept_)
        if (RuleNumber(kept.key) == number) return true;
    return false;
}

void WatchRulesFile::Write(const wchar_t* iniPath, const std::vector<CountedRule>& rules) const {
    if (!readWhole_) return;
    if (rules.empty() && kept_.empty()) {
        settings::RemoveIniSection(iniPath, kSection);
        return;
    }
    try {
        std::vector<std::wstring> lines;
        lines.reserve(rules.size() + kept_.size());
        unsigned number = 0;
        for (const CountedRule& counted : rules) {
            do ++number;
            while (NumberHeld(number));
            lines.push_back(kKeyPrefix + std::to_wstring(number) + L'=' + WatchRuleText(counted.rule));
        }
        for (const KeptLine& kept : kept_) lines.push_back(kept.line);
        settings::WriteIniSection(iniPath, kSection, lines);
    } catch (const std::bad_alloc&) {
        // At exit there is no pane to tell; the section stays as the last run wrote it.
    }
}

}  // namespace records
