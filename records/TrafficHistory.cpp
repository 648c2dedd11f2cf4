// TrafficHistory.cpp: a ring of bins per span; a message of the second before costs no lookup.
#include "records/TrafficHistory.h"

#include <algorithm>
#include <iterator>

#include "records/SyslogPriority.h"

namespace records {

namespace {

constexpr int kLastCritical = 2;
constexpr int kError = 3;
constexpr int kWarning = 4;

}  // namespace

SeverityClass SeverityClassOf(int priority) {
    if (priority == kNoPriority) return SeverityClass::NoPriority;
    const int severity = SeverityOf(priority);
    if (severity <= kLastCritical) return SeverityClass::Critical;
    if (severity == kError) return SeverityClass::Error;
    if (severity == kWarning) return SeverityClass::Warning;
    return SeverityClass::Other;
}

SpanShape ShapeOf(TrafficSpan span) {
    switch (span) {
    case TrafficSpan::Hour:
        return kHour;
    case TrafficSpan::Day:
        return kDay;
    default:
        return kTenMinutes;
    }
}

std::uint32_t TrafficBin::Total() const {
    std::uint32_t total = 0;
    for (const std::uint32_t count : counts) total += count;
    return total;
}

TrafficBin& TrafficHistory::Ring::BinOf(std::uint64_t second) {
    const std::uint64_t bin = second / shape_.binSeconds + 1;
    const size_t bins = shape_.bins;
    // Further back than the ring reaches: the clock was set back, and what is kept lies ahead of it.
    if (newest_ >= bins && bin <= newest_ - bins) Clear();
    Slot& slot = slots_[bin % bins];
    if (slot.bin != bin) slot = Slot{bin, TrafficBin()};
    newest_ = std::max(newest_, bin);
    return slot.counts;
}

void TrafficHistory::Ring::Read(std::uint64_t second, size_t count, TrafficBin* out) const {
    const std::uint64_t last = second / shape_.binSeconds + 1;
    const size_t bins = shape_.bins;
    for (size_t index = 0; index < count; ++index) {
        const std::uint64_t back = count - 1 - index;
        out[index] = TrafficBin();
        if (back >= last) continue;
        const Slot& slot = slots_[(last - back) % bins];
        if (slot.bin == last - back) out[index] = slot.counts;
    }
}

void TrafficHistory::Ring::Clear() {
    std::fill(slots_.begin(), slots_.end(), Slot());
    newest_ = 0;
}

void TrafficHistory::Count(std::uint64_t receivedAt, SeverityClass severity) {
    if (!binsOfSecond_[0] || receivedAt < secondStart_ || receivedAt - secondStart_ >= kFileTimePerSecond) {
        const std::uint64_t second = receivedAt / kFileTimePerSecond;
        secondStart_ = second * kFileTimePerSecond;
        binsOfSecond_[0] = &tenMinutes_.BinOf(second);
        binsOfSecond_[1] = &hour_.BinOf(second);
        binsOfSecond_[2] = &day_.BinOf(second);
    }
    for (TrafficBin* bin : binsOfSecond_) ++bin->counts[static_cast<size_t>(severity)];
}

const TrafficHistory::Ring& TrafficHistory::RingOf(TrafficSpan span) const {
    switch (span) {
    case TrafficSpan::Hour:
        return hour_;
    case TrafficSpan::Day:
        return day_;
    default:
        return tenMinutes_;
    }
}

void TrafficHistory::Bins(TrafficSpan span, std::uint64_t now, std::vector<TrafficBin>& out) const {
    out.resize(ShapeOf(span).bins);
    RingOf(span).Read(now / kFileTimePerSecond, out.size(), out.data());
}

std::uint64_t TrafficHistory::Recent(std::uint64_t now, size_t seconds) const {
    TrafficBin bins[kTenMinutes.bins];
    const size_t count = std::min(seconds, kTenMinutes.bins);
    tenMinutes_.Read(now / kFileTimePerSecond, count, bins);
    std::uint64_t total = 0;
    for (size_t index = 0; index < count; ++index) total += bins[index].Total();
    return total;
}

void TrafficHistory::Clear() {
    tenMinutes_.Clear();
    hour_.Clear();
    day_.Clear();
    std::fill(std::begin(binsOfSecond_), std::end(binsOfSecond_), nullptr);
}

}  // namespace records
