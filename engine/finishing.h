#pragma once
// Finishing, the last stage: the replacements that turn the output text into the finished text, in
// a fixed order — variables, block references, answers, then the markers, the date and the time.
// Each step replaces every occurrence, left to right, on the text the previous step left.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/assembling.h"
#include "engine/host.h"
#include "engine/random.h"

namespace korvex::engine {

struct FinishingInput {
    const std::vector<std::string>& variables;   ///< `\v` slots in definition order
    const std::vector<std::string_view>& picks;  ///< by block number; 0 to 99 can be named
    const AnswerSlots& answers;
};

/// Finishes `text` in place. Returns false when a replacement was left out because the text
/// would have grown beyond `maxBytes`.
bool finish(std::string& text, const FinishingInput& input, Random& random, Host& host,
            std::size_t maxBytes);

}  // namespace korvex::engine
