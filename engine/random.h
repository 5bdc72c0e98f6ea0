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
    void reseedFromClock() { reseed(clock_ ? clock_() : nextTick()); }

    /// Seconds since local midnight.
    static float timeOfDay();

private:
    // The reproducible clock: re-seeds walk through the day in steps of a quarter second. Kept
    // here rather than in a Clock, as a re-seed before every block's draw is a hot path.
    float nextTick() { return static_cast<float>(tick_++ % 345600u) * 0.25f; }

    std::uint64_t state_;
    Clock clock_;  ///< empty for the reproducible clock
    std::uint32_t tick_ = 0;
};

/// The seed of text `textNumber` (counted from 1) of a run started with `runSeed` when every
/// text has a generator of its own: a strong mix of the two, so no text depends on the texts
/// before it, and different numbers of one run never share a seed.
std::uint64_t textSeed(std::uint64_t runSeed, std::uint64_t textNumber);

}  // namespace korvex::engine
