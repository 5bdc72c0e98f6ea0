#pragma once
// Finishing, the last stage: the replacements that turn the output text into the finished
// text, in a fixed order — variables, block references, answers, then the markers, the date
// and the time. Each step replaces every occurrence, left to right, on the text the previous
// step left.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/assembling.h"
#include "engine/host.h"
#include "engine/markers.h"
#include "engine/picking.h"
#include "engine/random.h"
#include "engine/working_record.h"

namespace korvex::engine {

struct FinishingInput {
    const std::vector<std::string>& variables;  ///< `\v` slots in definition order
    const WorkingRecord& record;                ///< where the picks stand
    const Picks& picks;                         ///< by block number; 0 to 99 can be named
    const AnswerSlots& answers;
    /// The option each variable slot takes instead of a draw (a listing of every text chooses
    /// them); read only for slots whose value has options.
    const std::vector<std::uint32_t>* variableChoices = nullptr;
    /// Receives, per variable slot, the option the text took (kNoPick for a slot without
    /// options), for a caller that records the choices of a generation.
    std::vector<std::uint32_t>* takenOptions = nullptr;
};

/// A `\v` slot taken apart at "=": the name and the value, trimmed; further pieces are ignored.
struct VariableDefinition {
    std::string_view name;
    std::string_view value;

    bool hasOptions() const { return value.find('|') != std::string_view::npos; }
    /// The value split at "|", one of which is drawn.
    std::vector<std::string_view> options() const;
};
/// Empty for a slot without "=", which defines nothing.
std::optional<VariableDefinition> readVariable(std::string_view slot);

/// The blocks named by a reference "\i" N "\" in `text`, N from 0 to 99 written without
/// leading zeros: "\i05\" names no block, as no block's reference is written that way.
std::bitset<kSlotCount> referencedBlocks(std::string_view text);

/// Finishes `text` in place, using `scratch` for its working copy (a caller that finishes many
/// texts keeps it, and its memory, from one to the next). Returns false when a replacement was
/// left out because the text would have grown beyond `maxBytes`.
bool finish(std::string& text, const FinishingInput& input, Random& random, Host& host,
            std::size_t maxBytes, std::string& scratch);

/// The markers "[.dot4.]", "[.dot2.]", "\s\", "\b\" and "\^\" replaced one step after another,
/// each over the whole text: the definition that replaceMarkers() must match.
void replaceMarkersStepByStep(std::string& text);

/// The same replacements, in one pass over the text where that gives the same result, as it
/// does for any text without a tangle of markers. `scratch` is left with unspecified content.
/// Returns true when any backslash is left in the text.
bool replaceMarkers(std::string& text, std::string& scratch);

}  // namespace korvex::engine
