#include "batch/shingles.h"

#include <algorithm>
#include <array>
#include <functional>

namespace korvex::batch {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The hash of `count` word hashes in order; the count goes in too, so the one shingle of a
// short text never equals a four-word run. The word hashes are well mixed already: one mix at
// the end spreads their polynomial.
std::uint64_t runHash(const std::uint64_t* words, std::size_t count) {
    std::uint64_t h = count;
    for (std::size_t k = 0; k < count; ++k) {
        h = h * kGolden + words[k];
    }
    return mix(h);
}

// Calls `take` with the hash of every shingle of `text`, in text order, repeats included.
template <typename Take>
void forEachShingle(std::string_view text, Take&& take) {
    std::array<std::uint64_t, kShingleWords> window{};
    std::size_t words = 0;
    const std::hash<std::string_view> hashWord;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !isSpace(text[i])) {
            ++i;
        }
        if (i == start) {
            break;
        }
        // The window holds the last four words, the oldest first.
        for (std::size_t k = 1; k < kShingleWords; ++k) {
            window[k - 1] = window[k];
        }
        window.back() = hashWord(text.substr(start, i - start));
        if (++words >= kShingleWords) {
            take(runHash(window.data(), kShingleWords));
        }
    }
    if (words > 0 && words < kShingleWords) {
        take(runHash(window.data() + (kShingleWords - words), words));
    }
}

}  // namespace

std::vector<std::uint64_t> shingleHashes(std::string_view text) {
    std::vector<std::uint64_t> hashes;
    forEachShingle(text, [&](std::uint64_t h) { hashes.push_back(h); });
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
    return hashes;
}

Likeness likeness(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b,
                  std::uint32_t aOnly) {
    std::uint32_t shared = 0;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::uint32_t x = a[i];
        const std::uint32_t y = b[j];
        shared += x == y;
        i += x <= y;
        j += y <= x;
    }
    const auto joint = static_cast<std::uint32_t>(a.size() + aOnly + b.size() - shared);
    return {shared, joint};
}

double similarity(std::string_view a, std::string_view b) {
    ShingleSets sets;
    sets.add(a);
    sets.add(b);
    return likeness(sets.set(0), sets.set(1)).value();
}

std::uint32_t ShingleSets::idOf(std::uint64_t hash) {
    std::uint64_t id = ids_.size();
    ids_.insert(hash, id, [&](std::uint64_t known) {
        id = known;
        return true;
    });
    return static_cast<std::uint32_t>(id);
}

std::size_t ShingleSets::add(std::string_view text) {
    const auto begin = static_cast<std::ptrdiff_t>(members_.size());
    forEachShingle(text, [&](std::uint64_t h) { members_.push_back(idOf(h)); });
    std::sort(members_.begin() + begin, members_.end());
    members_.erase(std::unique(members_.begin() + begin, members_.end()), members_.end());
    ends_.push_back(members_.size());
    return ends_.size() - 1;
}

std::span<const std::uint32_t> ShingleSets::probe(std::string_view text, std::uint32_t& unknown,
                                                  bool sorted) {
    // Every draw is probed, most of them to be left out: no sort of the hashes, and a shingle
    // met twice is told by the probe number its number carries.
    if (++probes_ == 0) {
        std::fill(probedAt_.begin(), probedAt_.end(), 0);
        probes_ = 1;
    }
    probedAt_.resize(ids_.size(), 0);
    probed_.clear();
    hashes_.clear();
    forEachShingle(text, [&](std::uint64_t h) {
        if (const auto id = ids_.find(h, [](std::uint64_t) { return true; })) {
            if (probedAt_[*id] != probes_) {
                probedAt_[*id] = probes_;
                probed_.push_back(static_cast<std::uint32_t>(*id));
            }
        } else {
            hashes_.push_back(h);
        }
    });
    std::sort(hashes_.begin(), hashes_.end());
    unknown =
        static_cast<std::uint32_t>(std::unique(hashes_.begin(), hashes_.end()) - hashes_.begin());
    if (sorted) {
        std::sort(probed_.begin(), probed_.end());
    }
    return probed_;
}

std::size_t ShingleSets::memoryBytes() const {
    return ids_.memoryBytes() + members_.capacity() * sizeof(std::uint32_t) +
           ends_.capacity() * sizeof(std::size_t);
}

}  // namespace korvex::batch
