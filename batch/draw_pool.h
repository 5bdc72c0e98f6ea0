#pragma once
// Texts with seeds of their own drawn on several threads at once and handed out in draw
// order: each worker has its generator, its random source and its host, and the texts wait
// in a window of a few chunks, so memory does not grow with the number of texts.

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "batch/answers.h"
#include "engine/generate.h"

namespace korvex::batch {

/// One text drawn by a worker, with the choices it took.
struct DrawnText {
    engine::GenerationResult result;
    engine::Picks picks;
    std::vector<std::string> variables;
    std::vector<std::uint32_t> takenOptions;

    engine::GenerationChoices choices() const {
        return {result.record, picks, variables, takenOptions};
    }
};

class DrawPool {
public:
    /// Starts `threads` workers on the draws `firstDraw` to `firstDraw + draws - 1`, draw D
    /// from engine::Random(engine::textSeed(textSeeds, D)). A question or a message the batch
    /// has not met yet waits until every draw before its own has been taken, so they come in
    /// the order one thread would bring them, and never while the taker is busy with a text.
    /// Without `keepChoices` the texts come without their choices and their working record
    /// (nothing records them), which keeps the texts waiting small.
    DrawPool(const engine::Options& options, const std::string& projectPath,
             RememberedAnswers& answers, std::uint64_t textSeeds, std::uint64_t firstDraw,
             std::uint64_t draws, unsigned threads, bool keepChoices = true);
    /// Stops the workers (a text being made is finished first) and waits for them.
    ~DrawPool();
    DrawPool(const DrawPool&) = delete;
    DrawPool& operator=(const DrawPool&) = delete;

    /// Draw `draw`, waiting for it; draws are taken one after another from the first. It stays
    /// valid until the next take().
    const DrawnText& take(std::uint64_t draw);

    struct State;

private:
    std::unique_ptr<State> state_;
    std::vector<std::thread> workers_;
};

}  // namespace korvex::batch
