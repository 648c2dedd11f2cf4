// FuzzRandom.h: a seeded generator whose sequence is the same on every platform, and the run's budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// SplitMix64: tiny, fast, and fully defined by its seed.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform enough in [0, bound) for bounds far below 2^64.
    size_t Below(size_t bound) { return bound ? static_cast<size_t>(Next() % bound) : 0; }

    // [low, high], both included.
    size_t Between(size_t low, size_t high) { return low + Below(high - low + 1); }

    // True about once in every n calls.
    bool OneIn(size_t n) { return Below(n) == 0; }

private:
    uint64_t state_;
};

// How long a fuzz run goes on. The suite's run is small and fixed; the
// environment asks for a longer one:
//   FUZZ_SEED       the seed (decimal); a failure prints the one it used
//   FUZZ_DATAGRAMS  how many random datagrams after the fixed and swept ones
//   FUZZ_SECONDS    go on with random datagrams until this many seconds have passed
struct Budget {
    uint64_t seed;
    size_t randomDatagrams;
    unsigned seconds;     // 0: no time limit, the count alone decides
    bool extended;        // asked for by the environment: every length is swept
};

// suiteRandomDatagrams: the count the suite's own run uses.
Budget BudgetFromEnvironment(size_t suiteRandomDatagrams);

// "seed N (rerun with FUZZ_SEED=N)", for failure messages.
std::string SeedNote(uint64_t seed);

}  // namespace fuzz
