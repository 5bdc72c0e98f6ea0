#include "batch/similarity.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/text_set.h"

namespace korvex::batch {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
constexpr unsigned kSignatureSize = 64;
constexpr std::array<unsigned, 6> kBandRows{2, 4, 8, 16, 32, 64};
constexpr std::uint32_t kNoValue = 0xFFFFFFFFu;

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

class PairDraws {
public:
    explicit PairDraws(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() { return mix(state_ += kGolden); }

private:
    std::uint64_t state_;
};

// The most alike pair so far; on a tie the first one found stays.
struct Closest {
    Likeness likeness;
    std::size_t first = 0;
    std::size_t second = 0;
    bool found = false;

    void offer(const Likeness& l, std::size_t i, std::size_t j) {
        if (!found || likeness.lessThan(l)) {
            likeness = l;
            first = i;
            second = j;
            found = true;
        }
    }
};

std::uint64_t fingerprint(std::span<const std::uint32_t> set) {
    std::uint64_t h = mix(set.size() + kGolden);
    for (const std::uint32_t id : set) {
        h = mix(h ^ id);
    }
    return h;
}

// The first pair of texts with the same shingles, by the later text's position.
bool findIdentical(const ShingleSets& sets, Closest& closest) {
    engine::TextSet seen;
    for (std::size_t j = 0; j < sets.size(); ++j) {
        const auto set = sets.set(j);
        std::size_t twin = 0;
        const bool added = seen.insert(fingerprint(set), j, [&](std::uint64_t other) {
            const auto earlier = sets.set(static_cast<std::size_t>(other));
            if (!std::equal(set.begin(), set.end(), earlier.begin(), earlier.end())) {
                return false;
            }
            twin = static_cast<std::size_t>(other);
            return true;
        });
        if (!added) {
            const auto size = static_cast<std::uint32_t>(set.size());
            closest = {};
            closest.offer({size, size}, twin, j);
            return true;
        }
    }
    return false;
}

// One-permutation MinHash: every shingle's hash falls into one of the signature's places and
// each place keeps the least; an empty place borrows from the next filled one, shifted by the
// distance, so every place of two signatures agrees with a chance near the similarity.
std::vector<std::uint32_t> signatures(const ShingleSets& sets) {
    std::vector<std::uint32_t> all(sets.size() * kSignatureSize, kNoValue);
    std::array<std::uint32_t, kSignatureSize> own{};
    for (std::size_t t = 0; t < sets.size(); ++t) {
        own.fill(kNoValue);
        std::array<bool, kSignatureSize> filled{};
        for (const std::uint32_t id : sets.set(t)) {
            const std::uint64_t h = mix(id * kGolden + 0x5BD1E995u);
            const auto place = static_cast<unsigned>(h >> 58);
            own[place] = std::min(own[place], static_cast<std::uint32_t>(h));
            filled[place] = true;
        }
        std::uint32_t* out = all.data() + t * kSignatureSize;
        for (unsigned k = 0; k < kSignatureSize; ++k) {
            if (filled[k]) {
                out[k] = own[k];
                continue;
            }
            for (unsigned d = 1; d < kSignatureSize; ++d) {
                const unsigned from = (k + d) % kSignatureSize;
                if (filled[from]) {
                    out[k] = own[from] + d * 0x9E3779B9u;
                    break;
                }
            }
        }
    }
    return all;
}

// The chance that a pair of similarity `share` agrees in at least one of the bands.
double candidateChance(double share, unsigned rows) {
    // Only whole bands count: the rows left over belong to none.
    const unsigned bands = kSignatureSize / rows;
    return 1.0 - std::pow(1.0 - std::pow(share, rows), static_cast<double>(bands));
}

struct BandKey {
    std::uint64_t hash;
    std::uint32_t text;
    bool operator<(const BandKey& other) const {
        return hash != other.hash ? hash < other.hash : text < other.text;
    }
};

// The closest pair among the texts whose signatures agree in a whole band.
void searchCandidates(const ShingleSets& sets, unsigned rows, std::uint64_t limit,
                      SimilarityReport& report, Closest& closest) {
    const std::vector<std::uint32_t> sig = signatures(sets);
    const std::size_t n = sets.size();
    auto band = [&](std::size_t text, unsigned b) {
        return sig.data() + text * kSignatureSize + static_cast<std::size_t>(b) * rows;
    };
    auto agreeEarlier = [&](std::size_t i, std::size_t j, unsigned b) {
        for (unsigned e = 0; e < b; ++e) {
            if (std::equal(band(i, e), band(i, e) + rows, band(j, e))) {
                return true;
            }
        }
        return false;
    };
    std::vector<BandKey> keys(n);
    for (unsigned b = 0; b < kSignatureSize / rows; ++b) {
        for (std::size_t t = 0; t < n; ++t) {
            std::uint64_t h = kGolden;
            for (const std::uint32_t* v = band(t, b); v != band(t, b) + rows; ++v) {
                h = mix(h ^ *v);
            }
            keys[t] = {h, static_cast<std::uint32_t>(t)};
        }
        std::sort(keys.begin(), keys.end());
        for (std::size_t start = 0; start < n;) {
            std::size_t end = start + 1;
            while (end < n && keys[end].hash == keys[start].hash) {
                ++end;
            }
            for (std::size_t a = start; a < end; ++a) {
                for (std::size_t c = a + 1; c < end; ++c) {
                    const std::size_t i = keys[a].text;
                    const std::size_t j = keys[c].text;
                    // A pair that met in an earlier band was compared there.
                    if (agreeEarlier(i, j, b)) {
                        continue;
                    }
                    if (report.candidates == limit) {
                        report.candidatesCut = true;
                        return;
                    }
                    ++report.candidates;
                    closest.offer(likeness(sets.set(i), sets.set(j)), i, j);
                }
            }
            start = end;
        }
    }
}

}  // namespace

SimilarityReport measureSimilarity(const ShingleSets& sets, const SimilarityOptions& options) {
    SimilarityReport report;
    const std::size_t n = sets.size();
    report.texts = n;
    report.pairs = n < 2 ? 0 : static_cast<std::uint64_t>(n) * (n - 1) / 2;
    if (n < 2) {
        return report;
    }
    Closest closest;
    Likeness lowest;
    bool anyLowest = false;
    double sum = 0;
    double sumOfSquares = 0;
    auto measure = [&](std::size_t i, std::size_t j) {
        const Likeness l = likeness(sets.set(i), sets.set(j));
        const double v = l.value();
        sum += v;
        sumOfSquares += v * v;
        if (!anyLowest || l.lessThan(lowest)) {
            lowest = l;
            anyLowest = true;
        }
        closest.offer(l, i, j);
        ++report.measured;
        return v;
    };

    // Long texts take long to compare: fewer pairs then, down to a floor.
    const double meanSize = static_cast<double>(sets.memberCount()) / static_cast<double>(n);
    const auto affordable =
        static_cast<std::uint64_t>(static_cast<double>(options.sampleWork) / (2 * meanSize + 1));
    const std::uint64_t samplePairs =
        std::min(options.samplePairs, std::max(options.minSamplePairs, affordable));
    if (report.pairs <= samplePairs) {
        for (std::size_t j = 1; j < n; ++j) {
            for (std::size_t i = 0; i < j; ++i) {
                measure(i, j);
            }
        }
    } else {
        PairDraws draws(options.sampleSeed);
        std::vector<float> sampled;
        sampled.reserve(samplePairs);
        for (std::uint64_t k = 0; k < samplePairs; ++k) {
            std::size_t i = draws.next() % n;
            std::size_t j = draws.next() % (n - 1);
            j += j >= i ? 1 : 0;
            sampled.push_back(static_cast<float>(measure(std::min(i, j), std::max(i, j))));
        }
        const auto m = static_cast<double>(report.measured);
        const double mean = sum / m;
        const double variance = std::max(0.0, (sumOfSquares / m - mean * mean) * m / (m - 1));
        report.averageMargin = 1.96 * std::sqrt(variance / m);
        if (findIdentical(sets, closest)) {
            report.highestFrom = HighestFrom::Identical;
        } else {
            // The fewest rows a band whose expected candidates fit the budget: the more rows,
            // the fewer pairs meet, and only the closest ones.
            const std::uint64_t budget = options.candidatesPerText * n;
            unsigned rows = kBandRows.back();
            for (const unsigned r : kBandRows) {
                double chance = 0;
                for (const float v : sampled) {
                    chance += candidateChance(v, r);
                }
                if (chance / m * static_cast<double>(report.pairs) <= static_cast<double>(budget)) {
                    rows = r;
                    break;
                }
            }
            report.highestFrom = HighestFrom::Candidates;
            report.bandRows = rows;
            searchCandidates(sets, rows, 4 * budget, report, closest);
        }
    }
    report.lowest = lowest.value();
    report.average = sum / static_cast<double>(report.measured);
    report.highest = closest.likeness.value();
    report.closestFirst = closest.first + 1;
    report.closestSecond = closest.second + 1;
    return report;
}

std::string percentText(double share) {
    double tenths = std::round(share * 1000.0);
    // 99.97% is not the same as identical, so it never shows as 100.0%.
    if (share < 1.0 && tenths >= 1000.0) {
        tenths = 999.0;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", tenths / 10.0);
    return text;
}

std::string reportText(const SimilarityReport& report) {
    std::string out = "Texts      : " + std::to_string(report.texts) + "\n";
    if (report.pairs == 0) {
        return out + "Similarity : no pairs to compare\n";
    }
    const bool sampled = report.measured < report.pairs;
    const char* estimate = sampled ? " (estimate)" : "";
    // Candidates find close pairs, not surely the closest.
    const char* found = report.highestFrom == HighestFrom::Candidates ? " (closest found)" : "";
    out += "Similarity : lowest " + percentText(report.lowest) + estimate + ", average " +
           percentText(report.average) + estimate + ", highest " + percentText(report.highest) +
           found + "\n";
    out += "Closest    : texts " + std::to_string(report.closestFirst) + " and " +
           std::to_string(report.closestSecond) + "\n";
    if (!sampled) {
        return out + "Compared   : every pair (" + std::to_string(report.pairs) + ")\n";
    }
    char margin[32];
    std::snprintf(margin, sizeof margin, "%.2f", report.averageMargin * 100.0);
    out += "Estimated  : lowest and average from " + std::to_string(report.measured) +
           " random pairs of " + std::to_string(report.pairs) + " (the average within " + margin +
           " points, 95% sure)\n";
    if (report.highestFrom == HighestFrom::Identical) {
        return out + "Highest    : exact, two texts with the same 4-word runs\n";
    }
    out += "Highest    : the closest of the random pairs and of " +
           std::to_string(report.candidates) + " candidate pairs (MinHash, bands of " +
           std::to_string(report.bandRows) + "), each compared exactly";
    if (report.candidatesCut) {
        out += "; the candidates stopped at their limit";
    }
    return out + "\n";
}

}  // namespace korvex::batch
