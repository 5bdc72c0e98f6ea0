#include "engine/random.h"

#include <bit>
#include <chrono>
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

Random::Random() : Random(Clock(&Random::timeOfDay)) {}

Random::Random(Clock clock) : state_(kStartState), clock_(std::move(clock)) {}

Random::Random(std::uint64_t seed) : state_(mix(seed + kGolden)) {}

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

float Random::timeOfDay() {
    using namespace std::chrono;
    // The offset from UTC changes rarely; asking the C library for it once a minute keeps a
    // re-seed per block cheap even for scripts of many thousand blocks.
    thread_local long long offsetValidUntil = -1;
    thread_local long offsetSeconds = 0;
    const auto now = system_clock::now();
    const long long seconds = duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    if (seconds >= offsetValidUntil || seconds + 60 < offsetValidUntil) {
        const std::time_t t = system_clock::to_time_t(now);
        std::tm local{};
        localtime_r(&t, &local);
        offsetSeconds = local.tm_gmtoff;
        offsetValidUntil = seconds + 60;
    }
    const long long micros =
        duration_cast<microseconds>(now.time_since_epoch()).count() + offsetSeconds * 1'000'000LL;
    constexpr long long kMicrosPerDay = 86'400'000'000LL;
    const long long ofDay = ((micros % kMicrosPerDay) + kMicrosPerDay) % kMicrosPerDay;
    const double sinceMidnight = static_cast<double>(ofDay) / 1e6;
    return static_cast<float>(sinceMidnight);
}

}  // namespace korvex::engine
