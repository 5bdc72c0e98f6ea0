#pragma once
// --max-similarity's question, whether a new text is more than P percent like some text kept,
// answered without comparing it with every one of them, and with the same answer.
//
// Two shingle sets A and B are more than P percent alike (Jaccard) only when the shingles in
// one of them alone, d of them, satisfy (100 - P)(|A| + |B|) > (100 + P) d, which also means
// d < |B| (100 - P) / P. Each kept set B is filed under m > that bound groups of its shingles
// (a shingle's group comes from a hash of its number), each group by the exact contents B has
// in it. The d differing shingles fall into at most d < m groups, so a set that is close
// enough to B has exactly B's contents in at least one group and finds B there: a lookup
// never misses a near copy, it only also finds some that are not, and every text found is
// compared, first by a sketch: the parities of 128 buckets of its shingles, whose differences
// from the probe's are a lower bound on d, then exactly. (MinHash bands, as --similarity uses,
// would miss a near copy now and then, and change which texts are kept.) A comparison stops as soon
// as the shingles left can no longer bring the pair above P. Low limits need so many groups that
// sets are compared one by one instead, still with the early stop.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "batch/shingles.h"

namespace korvex::batch {

/// Whether the set `a` (plus `aOnly` shingles no kept set has) is more than `percent` percent
/// like `b`, as likeness(a, b, aOnly).above(percent) answers, stopping early once it cannot be.
bool moreAlikeThan(std::span<const std::uint32_t> a, std::uint32_t aOnly,
                   std::span<const std::uint32_t> b, double percent);

class NearCopies {
public:
    /// `exhaustive`: compare with every set kept, in full (the reference for the index).
    explicit NearCopies(double percent, bool exhaustive = false);

    /// Whether the probed set (ShingleSets::probe, in any order) is more than the limit like a
    /// set of `sets` that was added here.
    bool tooAlike(const ShingleSets& sets, std::span<const std::uint32_t> probe,
                  std::uint32_t unknown);
    /// Files set `i` of `sets`, the last one added.
    void add(const ShingleSets& sets, std::size_t i);
    /// Sets compared exactly so far.
    std::uint64_t compared() const { return compared_; }

    using Sketch = std::array<std::uint64_t, 2>;
    /// A set filed under a key: its sketch, its number and its size, side by side, so that a
    /// probe goes through the sets of a key in one sweep.
    struct Posting {
        Sketch sketch;
        std::uint32_t set;
        std::uint32_t size;
    };

private:
    struct Slot {
        std::uint64_t key;
        std::uint32_t list;
    };
    static Sketch sketchOf(std::span<const std::uint32_t> set);
    /// The groups a set of `size` shingles is filed under; kOneByOne (0) when it is compared
    /// with every probe instead.
    unsigned groupsFor(std::size_t size) const;
    void groupKeys(std::span<const std::uint32_t> set, unsigned groups,
                   std::vector<std::uint64_t>& keys) const;
    void file(std::uint64_t key, const Posting& posting);
    bool compare(const ShingleSets& sets, std::size_t k, std::span<const std::uint32_t> probe,
                 std::uint32_t unknown);

    double percent_;
    bool exhaustive_;
    std::size_t emptyKept_ = 0;
    std::vector<std::uint32_t> oneByOne_;  ///< sets that need too many groups
    std::vector<unsigned> groupCounts_;    ///< the group counts in use, each once
    std::vector<Slot> slots_;              ///< open addressing, from a key to its list
    std::vector<std::vector<Posting>> lists_;
    std::vector<std::uint32_t> seenAt_;  ///< per set, the probe that last compared it
    std::uint32_t probeNumber_ = 0;
    std::vector<std::uint64_t> keys_;  // scratch
    std::vector<std::uint32_t> sortedProbe_;
    std::uint64_t compared_ = 0;
};

}  // namespace korvex::batch
