// TrafficHistory.h: how many messages arrived in each second, minute and day bin, by severity class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace records {

// The classes a chart stacks: severities 0 to 2, 3, 4, 5 to 7, and messages without a priority.
enum class SeverityClass { Critical, Error, Warning, Other, NoPriority };
constexpr size_t kSeverityClasses = 5;

// The class of a priority LeadingPriority gave.
SeverityClass SeverityClassOf(int priority);

// A stretch of time as bins of equal length, the newest holding now.
enum class TrafficSpan { TenMinutes, Hour, Day };
struct SpanShape {
    std::uint64_t binSeconds;
    size_t bins;
};
constexpr SpanShape kTenMinutes = {1, 600};
constexpr SpanShape kHour = {6, 600};
constexpr SpanShape kDay = {150, 576};
SpanShape ShapeOf(TrafficSpan span);

struct TrafficBin {
    std::uint32_t counts[kSeverityClasses] = {};
    std::uint32_t Total() const;
};

constexpr std::uint64_t kFileTimePerSecond = 10000000;  // FILETIME counts 100 ns

// Window-free. Each message is counted in the bin of its second at each of
// the three spans, in rings of a fixed size: constant work and memory per
// message, never more than a day kept. Times are FILETIMEs, as records are
// stamped; a time that goes back further than a span (the clock was set
// back) starts that span afresh.
class TrafficHistory {
public:
    TrafficHistory() = default;
    TrafficHistory(const TrafficHistory&) = delete;  // it points into its own rings
    TrafficHistory& operator=(const TrafficHistory&) = delete;

    void Count(std::uint64_t receivedAt, SeverityClass severity);

    // The span's bins, oldest first; the last one holds now. Bins nothing
    // was counted in, or counted too long ago, are empty.
    void Bins(TrafficSpan span, std::uint64_t now, std::vector<TrafficBin>& out) const;

    // The messages of the last seconds up to now, now's own second included (at most ten minutes).
    std::uint64_t Recent(std::uint64_t now, size_t seconds) const;

    void Clear();

private:
    class Ring {
    public:
        explicit Ring(SpanShape shape) : shape_(shape), slots_(shape.bins) {}
        // The bin that holds second, made the newest if it is ahead of the others.
        TrafficBin& BinOf(std::uint64_t second);
        // The bin of each of the count bins ending with the one holding second, oldest first.
        void Read(std::uint64_t second, size_t count, TrafficBin* out) const;
        void Clear();

    private:
        struct Slot {
            std::uint64_t bin = 0;  // the bin's number + 1; 0: never used
            TrafficBin counts;
        };
        SpanShape shape_;
        std::vector<Slot> slots_;
        std::uint64_t newest_ = 0;
    };

    const Ring& RingOf(TrafficSpan span) const;

    Ring tenMinutes_{kTenMinutes};
    Ring hour_{kHour};
    Ring day_{kDay};
    // Most messages arrive in the same second as the one before: that
    // second's bin in each ring, counted into directly until another comes.
    std::uint64_t secondStart_ = 0;
    TrafficBin* binsOfSecond_[3] = {};
};

}  // namespace records
