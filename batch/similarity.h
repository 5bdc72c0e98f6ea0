#pragma once
// How alike the texts of a batch are: the lowest, average and highest similarity over the
// pairs of texts, and the closest pair.

#include <cstddef>
#include <cstdint>
#include <string>

#include "batch/shingles.h"

namespace korvex::batch {

struct SimilarityOptions {
    /// Up to this many pairs every pair is compared; beyond, the lowest and the average come
    /// from this many pairs drawn at random, and are labelled estimates.
    std::uint64_t samplePairs = 50'000;
    /// Fewer pairs for long texts: about this many shingles gone through in all, but never
    /// fewer than minSamplePairs pairs.
    std::uint64_t sampleWork = 25'000'000;
    std::uint64_t minSamplePairs = 5'000;
    /// The pairs drawn are the same for the same batch.
    std::uint64_t sampleSeed = 0x6B6F727665780005ULL;
    /// Without identical texts, the highest similarity of a large batch is looked for among
    /// candidate pairs (texts whose MinHash signatures agree in a band): about this many a
    /// text, and never more than four times as many.
    std::uint64_t candidatesPerText = 32;
};

/// Where the highest similarity comes from.
enum class HighestFrom {
    EveryPair,   ///< every pair was compared: exact
    Identical,   ///< two texts have the same shingles: 100%, exact
    Candidates,  ///< the closest of the candidate pairs, each compared exactly
};

struct SimilarityReport {
    std::size_t texts = 0;
    std::uint64_t pairs = 0;     ///< every pair of texts
    std::uint64_t measured = 0;  ///< the pairs lowest and average come from
    double lowest = 0;           ///< shares from 0 to 1
    double average = 0;
    double highest = 0;
    double averageMargin = 0;       ///< a sampled average is within this of the true one, 95% sure
    std::size_t closestFirst = 0;   ///< the closest pair, by position counted from 1; the first
    std::size_t closestSecond = 0;  ///< such pair in the order the texts came
    HighestFrom highestFrom = HighestFrom::EveryPair;
    std::uint64_t candidates = 0;  ///< candidate pairs compared
    unsigned bandRows = 0;         ///< MinHash values a band: more, fewer and closer candidates
    bool candidatesCut = false;    ///< the candidate pairs ran over their limit

    bool exact() const { return measured == pairs && highestFrom != HighestFrom::Candidates; }
};

/// Measures the texts of `sets`.
SimilarityReport measureSimilarity(const ShingleSets& sets, const SimilarityOptions& options = {});

/// A share as a percentage with one decimal ("72.4%"); only a share of exactly 1 shows as
/// "100.0%".
std::string percentText(double share);

/// The report as korvex-gen writes it, one "Name : value" line each.
std::string reportText(const SimilarityReport& report);

}  // namespace korvex::batch
