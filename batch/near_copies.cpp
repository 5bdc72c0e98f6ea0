#include "batch/near_copies.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace korvex::batch {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// Beyond this many groups a set is compared one by one: the index would cost more than it
// saves. Sets are filed under pairs of groups up to kMostPairedGroups (120 pairs).
constexpr unsigned kMostGroups = 64;
constexpr unsigned kMostPairedGroups = 16;
constexpr unsigned kPaired = 1000;
constexpr unsigned kOneByOne = 0;

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

bool moreAlikeThan(std::span<const std::uint32_t> a, std::uint32_t aOnly,
                   std::span<const std::uint32_t> b, double percent) {
    const std::uint64_t sizes = a.size() + aOnly + b.size();
    if (sizes == 0) {
        return percent < 100.0;
    }
    // The pair is above the limit only while the shingles of one alone, d, keep
    // (100 - P)(|A| + |B|) > (100 + P) d; the margin keeps rounding on the side of comparing.
    const double most = (100.0 - percent) * static_cast<double>(sizes) / (100.0 + percent) + 1e-6;
    const std::size_t sizeGap = a.size() + aOnly > b.size() ? a.size() + aOnly - b.size()
                                                            : b.size() - a.size() - aOnly;
    if (static_cast<double>(sizeGap) > most) {
        return false;
    }
    // From the end: the numbers are given in the order shingles first came, so the shingles a
    // text of the batch has of its own are mostly the high ones, and a pair too far apart
    // shows it soonest there.
    std::size_t i = a.size();
    std::size_t j = b.size();
    std::uint64_t apart = aOnly;
    std::uint32_t shared = 0;
    while (i > 0 && j > 0) {
        const std::uint32_t x = a[i - 1];
        const std::uint32_t y = b[j - 1];
        if (x == y) {
            ++shared;
            --i;
            --j;
            continue;
        }
        if (x > y) {
            --i;
        } else {
            --j;
        }
        if (static_cast<double>(++apart) > most) {
            return false;
        }
    }
    const auto joint = static_cast<std::uint32_t>(sizes - shared);
    return Likeness{shared, joint}.above(percent);
}

NearCopies::NearCopies(double percent, bool exhaustive)
    : percent_(percent), exhaustive_(exhaustive) {}

unsigned NearCopies::schemeFor(std::size_t size) const {
    if (exhaustive_ || percent_ <= 0.0) {
        return kOneByOne;
    }
    // The most shingles a near copy of a set this size can have apart from it.
    const double apart = static_cast<double>(size) * (100.0 - percent_) / percent_;
    if (apart >= kMostGroups) {
        return kOneByOne;
    }
    const auto most = static_cast<unsigned>(std::floor(apart * (1 + 1e-9) + 1e-9));
    // One group more than that leaves a group clean; two more leave two, and filing the set
    // under every pair of groups finds far fewer sets that are not near copies, for as many
    // keys as there are pairs.
    // More groups than needed find a few more sets that are not near copies, but an even
    // count puts sets of nearly the same size under the same keys: a probe looks up fewer.
    const unsigned paired = (most + 3) / 2 * 2;
    return paired <= kMostPairedGroups ? kPaired + paired : most + 1;
}

void NearCopies::groupKeys(std::span<const std::uint32_t> set, unsigned scheme,
                           std::vector<std::uint64_t>& keys) const {
    const unsigned groups = scheme % kPaired;
    // Sums of the shingles' hashes: the same for the same contents in whatever order.
    hashes_.assign(groups, 0);
    for (const std::uint32_t shingle : set) {
        const std::uint64_t h = mix(shingle + kGolden);
        hashes_[((h >> 32) * groups) >> 32] += h;
    }
    keys.clear();
    const std::uint64_t salt = static_cast<std::uint64_t>(scheme) << 40;
    if (scheme < kPaired) {
        for (unsigned g = 0; g < groups; ++g) {
            keys.push_back(mix(hashes_[g] + salt + g * kGolden));
        }
        return;
    }
    for (unsigned g = 0; g < groups; ++g) {
        for (unsigned h = g + 1; h < groups; ++h) {
            keys.push_back(mix(hashes_[g] * kGolden + hashes_[h] + salt + (g << 8) + h));
        }
    }
}

void NearCopies::file(std::uint64_t key, std::uint32_t set) {
    if (2 * (filled_ + 1) > slots_.size()) {
        std::vector<Slot> old(std::max<std::size_t>(1024, 2 * slots_.size()), Slot{0, kNone, kNone});
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.first != kNone) {
                std::size_t at = slot.key & (slots_.size() - 1);
                while (slots_[at].first != kNone) {
                    at = (at + 1) & (slots_.size() - 1);
                }
                slots_[at] = slot;
            }
        }
    }
    std::size_t at = key & (slots_.size() - 1);
    while (slots_[at].first != kNone && slots_[at].key != key) {
        at = (at + 1) & (slots_.size() - 1);
    }
    Slot& slot = slots_[at];
    if (slot.first == kNone) {
        slot = {key, set, kNone};
        ++filled_;
    } else {
        if (slot.more == kNone) {
            slot.more = static_cast<std::uint32_t>(lists_.size());
            lists_.emplace_back();
        }
        lists_[slot.more].push_back(set);
    }
}

NearCopies::Sketch NearCopies::sketchOf(std::span<const std::uint32_t> set) {
    Sketch sketch{};
    for (const std::uint32_t shingle : set) {
        const std::uint64_t h = mix(shingle ^ 0x5BD1E995u);
        sketch[(h >> 6) % kSketchWords] ^= std::uint64_t{1} << (h & 63);
    }
    return sketch;
}

void NearCopies::add(const ShingleSets& sets, std::size_t i) {
    const auto set = sets.set(i);
    seenAt_.resize(std::max(seenAt_.size(), i + 1), 0);
    if (set.empty()) {
        ++emptyKept_;  // like only another text without words
        return;
    }
    sketches_.resize(std::max(sketches_.size(), i + 1));
    sketches_[i] = sketchOf(set);
    const unsigned scheme = schemeFor(set.size());
    if (scheme == kOneByOne) {
        oneByOne_.push_back(static_cast<std::uint32_t>(i));
        return;
    }
    if (std::find(schemes_.begin(), schemes_.end(), scheme) == schemes_.end()) {
        schemes_.push_back(scheme);
    }
    groupKeys(set, scheme, keys_);
    for (const std::uint64_t key : keys_) {
        file(key, static_cast<std::uint32_t>(i));
    }
}

bool NearCopies::compare(const ShingleSets& sets, std::size_t k,
                         std::span<const std::uint32_t> probe, std::uint32_t unknown) {
    ++compared_;
    if (sortedProbe_.empty() && !probe.empty()) {
        sortedProbe_.assign(probe.begin(), probe.end());
        std::sort(sortedProbe_.begin(), sortedProbe_.end());
    }
    probe = sortedProbe_;
    return exhaustive_ ? likeness(probe, sets.set(k), unknown).above(percent_)
                       : moreAlikeThan(probe, unknown, sets.set(k), percent_);
}

bool NearCopies::visit(const ShingleSets& sets, std::uint32_t k,
                       std::span<const std::uint32_t> probe, std::uint32_t unknown) {
    if (seenAt_[k] == probeNumber_) {
        return false;
    }
    seenAt_[k] = probeNumber_;
    ++visited_;
    // Shingles both have cancel out of the parities; every bucket left odd holds at least one
    // shingle of one of them alone.
    unsigned apart = unknown;
    for (unsigned w = 0; w < kSketchWords; ++w) {
        apart += static_cast<unsigned>(std::popcount(sketches_[k][w] ^ probeSketch_[w]));
    }
    const double sizes = static_cast<double>(probe.size() + unknown + sets.set(k).size());
    if (static_cast<double>(apart) * (100.0 + percent_) > (100.0 - percent_) * sizes + 1e-6) {
        return false;
    }
    return compare(sets, k, probe, unknown);
}

bool NearCopies::tooAlike(const ShingleSets& sets, std::span<const std::uint32_t> probe,
                          std::uint32_t unknown) {
    if (probe.empty() && unknown == 0) {
        return emptyKept_ > 0 && percent_ < 100.0;
    }
    if (percent_ >= 100.0) {
        return false;  // nothing with words is more than 100% like anything
    }
    sortedProbe_.clear();  // sorted when a comparison needs it
    for (const std::uint32_t k : oneByOne_) {
        if (compare(sets, k, probe, unknown)) {
            return true;
        }
    }
    if (++probeNumber_ == 0) {
        std::fill(seenAt_.begin(), seenAt_.end(), 0);
        probeNumber_ = 1;
    }
    // The probe's shingles that no kept set has are left out of its keys: in a group where a
    // near copy agrees with it exactly there are none.
    probeSketch_ = sketchOf(probe);
    for (const unsigned scheme : schemes_) {
        groupKeys(probe, scheme, keys_);
        // The table is large and each key lands anywhere in it: asking for all the slots at
        // once waits for memory once instead of once a key.
        for (const std::uint64_t key : keys_) {
            __builtin_prefetch(&slots_[key & (slots_.size() - 1)]);
        }
        for (const std::uint64_t key : keys_) {
            std::size_t at = key & (slots_.size() - 1);
            while (slots_[at].first != kNone && slots_[at].key != key) {
                at = (at + 1) & (slots_.size() - 1);
            }
            const Slot& slot = slots_[at];
            if (slot.first == kNone) {
                continue;
            }
            if (visit(sets, slot.first, probe, unknown)) {
                return true;
            }
            if (slot.more != kNone) {
                for (const std::uint32_t k : lists_[slot.more]) {
                    if (visit(sets, k, probe, unknown)) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

}  // namespace korvex::batch
