#pragma once
// Drawing the texts of a batch: one generator carried from text to text, or a generator of
// its own for every text; repeats and texts too like the ones kept left out.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "batch/answers.h"
#include "batch/draw_pool.h"
#include "batch/near_copies.h"
#include "batch/shingles.h"
#include "engine/generate.h"
#include "engine/text_set.h"

namespace korvex::batch {

struct DrawSettings {
    std::uint64_t wanted = 1;  ///< texts to keep
    bool unique = false;       ///< leave out a text equal to one kept
    /// Leave out a text more than this many percent like one kept (Jaccard of 4-word runs).
    std::optional<double> maxSimilarity;
    /// Each text draws from a generator of its own, started from engine::textSeed(this, its
    /// draw number); otherwise the caller's generator carries over from text to text.
    std::optional<std::uint64_t> textSeeds;
    std::uint64_t firstDraw = 1;  ///< the number of the first draw (a single text rebuilt)
    /// With textSeeds and a drawer made on RememberedAnswers: this many threads draw at once.
    /// The texts kept are the same as with one: the drawer still decides in draw order.
    unsigned threads = 1;
    /// With threads: keep the choices and the working record of every text for choices() and
    /// result().record; off when nothing records them, which saves copying them from thread
    /// to thread and keeps the texts waiting small.
    bool keepChoices = true;
    /// With unique or maxSimilarity, at most this many draws for each text wanted.
    std::uint64_t drawsPerText = 100;
    /// Keep the shingles of every text kept, for measureSimilarity().
    bool measure = false;
    /// With maxSimilarity, compare every draw in full with every text kept instead of looking
    /// up its near copies: the same texts are kept, slowly (the reference for the index).
    bool compareEveryText = false;
};

/// Draws and keeps texts until enough are kept or the draws run out.
class TextDrawer {
public:
    /// `host` answers the script's questions; `random` is the carried generator.
    TextDrawer(engine::Options options, std::string projectPath, engine::Host& host,
               engine::Random& random, DrawSettings settings);
    /// Texts with seeds of their own (settings.textSeeds), on settings.threads threads, their
    /// questions answered by `answers` (which the threads share).
    TextDrawer(engine::Options options, std::string projectPath, RememberedAnswers& answers,
               DrawSettings settings);

    /// Called before every generation (to call RememberedAnswers::startText, say); when it
    /// answers false, drawing stops.
    void setBeforeDraw(std::function<bool()> beforeDraw) { beforeDraw_ = std::move(beforeDraw); }
    /// Draws until a text is kept: false when enough were kept or the draws ran out.
    bool next();

    const engine::GenerationResult& result() const { return *result_; }
    engine::GenerationChoices choices() const {
        return drawn_ ? drawn_->choices() : generator_.choices();
    }
    /// The texts kept so far: the position of the last one, counted from 1.
    std::uint64_t kept() const { return kept_; }
    /// The draw number of the last text kept (what rebuilds it alone).
    std::uint64_t draw() const { return draw_; }
    /// The seed of the last text kept, when every text has a generator of its own.
    std::optional<std::uint64_t> seed() const;
    std::uint64_t draws() const { return draws_; }
    std::uint64_t maxDraws() const { return maxDraws_; }
    std::uint64_t nearCompared() const { return nearCopies_ ? nearCopies_->compared() : 0; }
    /// The shingles of the texts kept, with DrawSettings::measure or maxSimilarity.
    const ShingleSets& shingles() const { return shingles_; }

private:
    bool isRepeat(const std::string& text, std::uint64_t draw);

    DrawSettings settings_;
    engine::Options options_;
    std::string projectPath_;
    engine::Host& host_;
    engine::Random own_;
    engine::Generator generator_;
    // Makes a kept text again, to compare with a new one of the same hash.
    engine::Random checkRandom_{0};
    std::unique_ptr<engine::Generator> checker_;
    const engine::GenerationResult* result_ = nullptr;
    // With threads: who draws, and the text they drew last.
    RememberedAnswers* shared_ = nullptr;
    std::unique_ptr<DrawPool> pool_;
    const DrawnText* drawn_ = nullptr;
    std::function<bool()> beforeDraw_;
    std::uint64_t kept_ = 0;
    std::uint64_t draw_ = 0;
    std::uint64_t draws_ = 0;
    std::uint64_t maxDraws_ = 0;
    // The texts kept, for unique: their hashes, and without seeds of their own the texts
    // themselves, one after another, and where each one starts.
    engine::TextSet seen_;
    std::string keptTexts_;
    std::vector<std::size_t> keptStarts_;
    ShingleSets shingles_;
    std::optional<NearCopies> nearCopies_;
};

}  // namespace korvex::batch
