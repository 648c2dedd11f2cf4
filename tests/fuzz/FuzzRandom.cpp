// FuzzRandom.cpp: the run's budget from the environment, read only by the fuzz tests.
#include "tests/fuzz/FuzzRandom.h"

#include <windows.h>

#include <cstdlib>
#include <limits>

namespace fuzz {

namespace {

// The suite's runs always use this seed, so they are the same every time.
constexpr uint64_t kSuiteSeed = 20240607;

bool ReadNumber(const wchar_t* name, uint64_t& value) {
    wchar_t text[32];
    const DWORD length = GetEnvironmentVariableW(name, text, sizeof text / sizeof text[0]);
    if (length == 0 || length >= sizeof text / sizeof text[0]) return false;
    wchar_t* end = nullptr;
    value = std::wcstoull(text, &end, 10);
    return end != text && *end == L'\0';
}

}  // namespace

Budget BudgetFromEnvironment(size_t suiteRandomDatagrams) {
    Budget budget{kSuiteSeed, suiteRandomDatagrams, 0, false};
    uint64_t value = 0;
    if (ReadNumber(L"FUZZ_SEED", value)) budget.seed = value;
    const bool seconds = ReadNumber(L"FUZZ_SECONDS", value);
    if (seconds) {
        budget.seconds = static_cast<unsigned>(value);
        budget.randomDatagrams = std::numeric_limits<size_t>::max();
        budget.extended = true;
    }
    if (ReadNumber(L"FUZZ_DATAGRAMS", value)) {
        budget.randomDatagrams = static_cast<size_t>(value);
        budget.extended = true;
    }
    return budget;
}

std::string SeedNote(uint64_t seed) {
    return "seed " + std::to_string(seed) + " (rerun with FUZZ_SEED=" + std::to_string(seed) + ")";
}

}  // namespace fuzz
