#include "engine/random.h"

#include <time.h>

#include <algorithm>
#include <bit>
#include <ctime>

namespace korvex::engine {
namespace {

// splitmix64's finaliser: a strong 64-bit mix.
std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
constexpr std::uint64_t kStartState = 0x4B6F727665780005ULL;  // the same at every start

}  // namespace

Random::Random() : state_(kStartState), source_(Source::Day) {}

Random::Random(Clock clock)
    : state_(kStartState), source_(Source::Injected), clock_(std::move(clock)) {}

Random::Random(std::uint64_t seed) : state_(mix(seed + kGolden)), source_(Source::Ticks) {}

float Random::next() {
    state_ += kGolden;
    // The top 24 bits: every value is a float in [0, 1), exactly.
    return static_cast<float>(mix(state_) >> 40) * 0x1.0p-24f;
}

void Random::reseed(float timeOfDay) {
    // Mixing into the current state, rather than replacing it, means the same time value
    // never restarts an earlier sequence.
    const auto bits = std::bit_cast<std::uint32_t>(timeOfDay);
    state_ = mix(state_ ^ (bits * 0xD6E8FEB86659FD93ULL) ^ kGolden);
}

std::uint64_t textSeed(std::uint64_t runSeed, std::uint64_t textNumber) {
    // The splitmix64 sequence started at runSeed, element textNumber: one-to-one in the number.
    return mix(runSeed + textNumber * kGolden);
}

float Random::DayClock::now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    const long long seconds = now.tv_sec;
    if (seconds == lastSeconds_ && now.tv_nsec == lastNanoseconds_) {
        return last_;
    }
    if (seconds >= validUntil_ || seconds < dayStart_) {
        // The offset from UTC changes rarely; asking the C library for it once a minute keeps
        // a re-seed per block cheap even for scripts of many thousand blocks.
        const std::time_t t = now.tv_sec;
        std::tm local{};
        localtime_r(&t, &local);
        constexpr long long kSecondsPerDay = 86'400;
        const long long localSeconds = seconds + local.tm_gmtoff;
        const long long localDay =
            (localSeconds >= 0 ? localSeconds : localSeconds - (kSecondsPerDay - 1)) /
            kSecondsPerDay;
        dayStart_ = localDay * kSecondsPerDay - local.tm_gmtoff;
        validUntil_ = std::min(seconds + 60, dayStart_ + kSecondsPerDay);
    }
    lastSeconds_ = seconds;
    lastNanoseconds_ = now.tv_nsec;
    last_ = static_cast<float>(static_cast<double>(seconds - dayStart_) +
                               static_cast<double>(now.tv_nsec) * 1e-9);
    return last_;
}

float Random::timeOfDay() {
    return DayClock().now();
}

}  // namespace korvex::engine
