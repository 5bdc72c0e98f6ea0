#pragma once
// Texts as sets of word shingles, the runs of four words that follow one another in them, for
// telling how alike two generated texts are.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/text_set.h"

namespace korvex::batch {

inline constexpr std::size_t kShingleWords = 4;

/// The shingles of `text` as 64-bit hashes, sorted, each once. Words are what lies between
/// spaces, tabs and line breaks. A text of one to three words is one shingle of all its words,
/// so short texts still compare; a text without words has no shingles.
std::vector<std::uint64_t> shingleHashes(std::string_view text);

/// How alike two shingle sets are: the shingles they share and the shingles of either.
struct Likeness {
    std::uint32_t shared = 0;
    std::uint32_t joint = 0;  ///< the size of the union

    /// The Jaccard similarity, shared / joint. Two texts without shingles cannot be told apart
    /// and count as alike (1).
    double value() const { return joint == 0 ? 1.0 : static_cast<double>(shared) / joint; }
    /// More than `percent` percent alike, compared without rounding the share first.
    bool above(double percent) const {
        return joint == 0 ? percent < 100.0 : shared * 100.0 > percent * joint;
    }
    /// Exact order of the shares.
    bool lessThan(const Likeness& other) const {
        const std::uint64_t a = joint == 0 ? 1 : shared;
        const std::uint64_t b = joint == 0 ? 1 : joint;
        const std::uint64_t c = other.joint == 0 ? 1 : other.shared;
        const std::uint64_t d = other.joint == 0 ? 1 : other.joint;
        return a * d < c * b;
    }
};

/// The likeness of two sorted sets; `aOnly` more shingles belong to `a` alone.
Likeness likeness(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b,
                  std::uint32_t aOnly = 0);

/// The similarity of two texts, from 0 to 1.
double similarity(std::string_view a, std::string_view b);

/// The shingle sets of many texts, each shingle kept as a small number given in the order the
/// shingles first came, in one block of memory: about four bytes a word of every text kept.
class ShingleSets {
public:
    /// Adds the set of `text` and returns its number, counted from 0.
    std::size_t add(std::string_view text);
    /// The set of `text` without adding it: the numbers of the shingles some kept text has,
    /// each once, sorted unless `sorted` is false, and how many more shingles no kept text has.
    std::span<const std::uint32_t> probe(std::string_view text, std::uint32_t& unknown,
                                         bool sorted = true);

    std::size_t size() const { return ends_.size(); }
    /// The shingles of all sets together.
    std::size_t memberCount() const { return members_.size(); }
    /// Set `i`, sorted.
    std::span<const std::uint32_t> set(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::span<const std::uint32_t>(members_).subspan(begin, ends_[i] - begin);
    }
    /// The number of different shingles of all texts kept.
    std::size_t universe() const { return ids_.size(); }
    std::size_t memoryBytes() const;

private:
    /// The number of shingle `hash`, a new one when it has none.
    std::uint32_t idOf(std::uint64_t hash);

    // Shingles are told apart by their 64-bit hashes alone.
    engine::TextSet ids_;
    std::vector<std::uint32_t> members_;
    std::vector<std::size_t> ends_;
    std::vector<std::uint64_t> hashes_;    // scratch
    std::vector<std::uint32_t> probed_;    // scratch
    std::vector<std::uint32_t> probedAt_;  ///< per shingle number, the probe that last met it
    std::uint32_t probes_ = 0;
};

}  // namespace korvex::batch
