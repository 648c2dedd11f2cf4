// DatagramSequence.h: the datagrams of one fuzz run, in order: fixed cases, a sweep of lengths, random ones.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tests/fuzz/DatagramMaker.h"
#include "tests/fuzz/FuzzRandom.h"

namespace fuzz {

class DatagramSequence {
public:
    // lengthStep: the sweep visits 0, step, 2 step, ... up to one past the buffer,
    // and every length from a little below the buffer to one past it.
    DatagramSequence(const Budget& budget, size_t lengthStep);

    // The next datagram, or false when the budget is spent.
    bool Next(std::string& datagram);

    size_t FixedSent() const { return fixedSent_; }
    size_t SweptSent() const { return sweptSent_; }
    size_t RandomSent() const { return randomSent_; }

private:
    Budget budget_;
    Random random_;
    ULONGLONG deadline_;
    std::vector<std::string> fixed_;
    std::vector<size_t> sweepLengths_;
    size_t fixedSent_ = 0;
    size_t sweptSent_ = 0;
    size_t randomSent_ = 0;
};

}  // namespace fuzz
