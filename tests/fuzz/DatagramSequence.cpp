// DatagramSequence.cpp: the run's datagrams, drawn from the seed alone.
#include "tests/fuzz/DatagramSequence.h"

#include "tests/fuzz/DatagramModel.h"

namespace fuzz {

namespace {

// Below the buffer's size, every length from here on is swept whatever the step.
constexpr size_t kEdgeWidth = 8;

}  // namespace

DatagramSequence::DatagramSequence(const Budget& budget, size_t lengthStep)
    : budget_(budget),
      random_(budget.seed),
      deadline_(GetTickCount64() + budget.seconds * 1000ull),
      fixed_(FixedDatagrams()) {
    const size_t last = kReceiveBufferBytes + 1;
    for (size_t length = 0; length <= last; length += lengthStep) sweepLengths_.push_back(length);
    for (size_t length = kReceiveBufferBytes - kEdgeWidth; length <= last; ++length)
        if (length % lengthStep != 0) sweepLengths_.push_back(length);
}

bool DatagramSequence::Next(std::string& datagram) {
    if (fixedSent_ < fixed_.size()) {
        datagram = fixed_[fixedSent_++];
        return true;
    }
    if (sweptSent_ < sweepLengths_.size()) {
        datagram = RandomDatagram(random_, sweepLengths_[sweptSent_++]);
        return true;
    }
    if (randomSent_ >= budget_.randomDatagrams) return false;
    if (budget_.seconds && GetTickCount64() >= deadline_) return false;
    datagram = RandomDatagram(random_, RandomLength(random_));
    ++randomSent_;
    return true;
}

}  // namespace fuzz
