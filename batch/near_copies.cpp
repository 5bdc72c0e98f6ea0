#include "batch/near_copies.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace korvex::batch {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
// Beyond this many groups a set is compared one by one: the index would cost more than it
// saves.
constexpr unsigned kMostGroups = 64;
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
    const std::size_t sizeGap =
        a.size() + aOnly > b.size() ? a.size() + aOnly - b.size() : b.size() - a.size() - aOnly;
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

unsigned NearCopies::groupsFor(std::size_t size) const {
    if (exhaustive_ || percent_ <= 0.0) {
        return kOneByOne;
    }
    // The most shingles a near copy of a set this size can have apart from it; one group more
    // than that leaves a group clean.
    const double apart = static_cast<double>(size) * (100.0 - percent_) / percent_;
    if (apart >= kMostGroups) {
        return kOneByOne;
    }
    return static_cast<unsigned>(std::floor(apart * (1 + 1e-9) + 1e-9)) + 1;
}

void NearCopies::groupKeys(std::span<const std::uint32_t> set, unsigned groups,
                           std::vector<std::uint64_t>& keys) const {
    // Sums of the shingles' hashes: the same for the same contents in whatever order.
    keys.assign(groups, 0);
    for (const std::uint32_t shingle : set) {
        const std::uint64_t h = mix(shingle + kGolden);
        keys[((h >> 32) * groups) >> 32] += h;
    }
    const std::uint64_t salt = static_cast<std::uint64_t>(groups) << 40;
    for (unsigned g = 0; g < groups; ++g) {
        keys[g] = mix(keys[g] + salt + g * kGolden);
    }
}

void NearCopies::file(std::uint64_t key, const Posting& posting) {
    if (2 * (lists_.size() + 1) > slots_.size()) {
        std::vector<Slot> old(std::max<std::size_t>(1024, 2 * slots_.size()), Slot{0, kNone});
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.list != kNone) {
                std::size_t at = slot.key & (slots_.size() - 1);
                while (slots_[at].list != kNone) {
                    at = (at + 1) & (slots_.size() - 1);
                }
                slots_[at] = slot;
            }
        }
    }
    std::size_t at = key & (slots_.size() - 1);
    while (slots_[at].list != kNone && slots_[at].key != key) {
        at = (at + 1) & (slots_.size() - 1);
    }
    Slot& slot = slots_[at];
    if (slot.list == kNone) {
        slot = {key, static_cast<std::uint32_t>(lists_.size())};
        lists_.emplace_back();
    }
    lists_[slot.list].push_back(posting);
}

NearCopies::Sketch NearCopies::sketchOf(std::span<const std::uint32_t> set) {
    Sketch sketch{};
    for (const std::uint32_t shingle : set) {
        const std::uint64_t h = mix(shingle ^ 0x5BD1E995u);
        sketch[(h >> 6) & 1] ^= std::uint64_t{1} << (h & 63);
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
    const unsigned groups = groupsFor(set.size());
    if (groups == kOneByOne) {
        oneByOne_.push_back(static_cast<std::uint32_t>(i));
        return;
    }
    if (std::find(groupCounts_.begin(), groupCounts_.end(), groups) == groupCounts_.end()) {
        groupCounts_.push_back(groups);
    }
    const Sketch sketch = sketchOf(set);
    const Posting posting{{sketch[0], sketch[1]},
                          static_cast<std::uint32_t>(i),
                          static_cast<std::uint32_t>(set.size())};
    groupKeys(set, groups, keys_);
    for (const std::uint64_t key : keys_) {
        file(key, posting);
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

namespace {

struct ProbeBound {
    NearCopies::Sketch sketch;
    double unknown;
    double perApart;  // 100 + P
    double allowed;   // (100 - P) a shingle of either set
    double base;      // (100 - P) times the probe's shingles, and the margin
};

// The first posting from `at` on whose pair may be above the limit: shingles both have cancel
// out of the parities, and every bucket left odd holds at least one shingle of one set alone,
// so the odd buckets are a lower bound on those. The scan most probes spend their time in,
// built twice so that processors with a popcount instruction use it.
[[gnu::target_clones("popcnt", "default")]] std::size_t nextPossible(
    const NearCopies::Posting* postings, std::size_t at, std::size_t end, const ProbeBound& bound) {
    for (; at < end; ++at) {
        const NearCopies::Posting& p = postings[at];
        const int odd = std::popcount(p.sketch[0] ^ bound.sketch[0]) +
                        std::popcount(p.sketch[1] ^ bound.sketch[1]);
        if ((odd + bound.unknown) * bound.perApart <= bound.base + bound.allowed * p.size) {
            break;
        }
    }
    return at;
}

}  // namespace

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
    if (groupCounts_.empty()) {
        return false;
    }
    if (++probeNumber_ == 0) {
        std::fill(seenAt_.begin(), seenAt_.end(), 0);
        probeNumber_ = 1;
    }
    const ProbeBound bound{sketchOf(probe), static_cast<double>(unknown), 100.0 + percent_,
                           100.0 - percent_,
                           (100.0 - percent_) * static_cast<double>(probe.size() + unknown) + 1e-6};
    // The probe's shingles that no kept set has are left out of its keys: in a group where a
    // near copy agrees with it exactly there are none.
    for (const unsigned groups : groupCounts_) {
        groupKeys(probe, groups, keys_);
        for (const std::uint64_t key : keys_) {
            std::size_t at = key & (slots_.size() - 1);
            while (slots_[at].list != kNone && slots_[at].key != key) {
                at = (at + 1) & (slots_.size() - 1);
            }
            if (slots_[at].list == kNone) {
                continue;
            }
            const std::vector<Posting>& list = lists_[slots_[at].list];
            for (std::size_t p = nextPossible(list.data(), 0, list.size(), bound); p < list.size();
                 p = nextPossible(list.data(), p + 1, list.size(), bound)) {
                const std::uint32_t k = list[p].set;
                if (seenAt_[k] == probeNumber_) {
                    continue;
                }
                seenAt_[k] = probeNumber_;
                if (compare(sets, k, probe, unknown)) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace korvex::batch
