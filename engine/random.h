#pragma once
#include <cstdint>
#include <functional>

namespace korvex::engine {

/// The process-wide pseudo-random generator. It starts from a fixed state, so the first values
/// after start are always the same; the picking pass re-seeds it from the time of day before
/// each block's draw. Re-seeding mixes the value into the current state, so re-seeding with the
/// same value twice never repeats the earlier sequence.
class Random {
public:
    /// Seconds since local midnight, single precision.
    using Clock = std::function<float()>;

    /// Fixed start state; re-seeds from the local time of day.
    Random();
    /// Reproducible: starts from `seed`, and every re-seed takes its value from a deterministic
    /// sequence instead of the time of day.
    explicit Random(std::uint64_t seed);
    /// Fixed start state with an injected clock.
    explicit Random(Clock clock);

    /// A uniform value in [0, 1) with 24 significant bits.
    float next();
    void reseed(float timeOfDay);
    /// Re-seeds from the clock.
    void reseedFromClock() {
        reseed(source_ == Source::Day ? day_.now() : clock_ ? clock_() : nextTick());
    }

    /// Seconds since local midnight.
    static float timeOfDay();

private:
    enum class Source { Day, Injected, Ticks };

    // The local time of day from the coarse system clock: a read costs a few nanoseconds and
    // advances in steps of a few milliseconds, about what single precision keeps of a time late
    // in the day. Where the local day starts is worked out again only once a minute (or when
    // the day ends), and a reading equal to the last one gives the last value again.
    class DayClock {
    public:
        float now();

    private:
        long long dayStart_ = 0;
        long long validUntil_ = -1;
        long long lastSeconds_ = -1;
        long lastNanoseconds_ = -1;
        float last_ = 0;
    };

    // The reproducible clock: re-seeds walk through the day in steps of a quarter second. Kept
    // here rather than in a Clock, as a re-seed before every block's draw is a hot path.
    float nextTick() { return static_cast<float>(tick_++ % 345600u) * 0.25f; }

    std::uint64_t state_;
    Source source_;
    Clock clock_;  ///< Source::Injected only
    DayClock day_;
    std::uint32_t tick_ = 0;
};

/// The seed of text `textNumber` (counted from 1) of a run started with `runSeed` when every
/// text has a generator of its own: a strong mix of the two, so no text depends on the texts
/// before it, and different numbers of one run never share a seed.
std::uint64_t textSeed(std::uint64_t runSeed, std::uint64_t textNumber);

}  // namespace korvex::engine
