#pragma once
// Listing every different text of a script whose only choices are its blocks and the options
// of its variables: the combinations in a fixed order, each different text once, without
// holding the texts.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/assembling.h"
#include "engine/host.h"
#include "engine/picking.h"
#include "engine/random.h"
#include "engine/text_set.h"
#include "engine/variant_count.h"
#include "engine/working_record.h"

namespace korvex::engine {

/// One choice a generation makes: the pick of a block with alternatives, or the option of a
/// variable whose value has "|".
struct ChoicePoint {
    enum class Kind { Block, Variable };
    Kind kind = Kind::Block;
    std::size_t number = 0;  ///< the block number, or the variable's slot
    std::string name;        ///< the variable's name; empty for a block
    /// The options that can give different texts, each by its index among all of the block's
    /// alternatives (or the variable's options) in script order. Identical ones are kept once,
    /// by the first of them.
    std::vector<std::uint32_t> options;
};

struct ListingOptions {
    /// Reads `\inc\` files, once each; empty: `\inc\` lines add nothing.
    IncludeReader readInclude;
    std::size_t maxTextBytes = std::size_t{256} << 20;
};

/// A script made ready for listing. Scripts with `\rnd\` or `\if\` lines, `\inp\` lines,
/// `\date\` or `\time\` are refused: draws, jumps, answers and the clock are no choices a list
/// can run through.
class ScriptListing {
public:
    ScriptListing(std::string_view script, ListingOptions options);

    /// Why the script cannot be listed, fit to show; empty when it can.
    const std::optional<std::string>& refusal() const { return refusal_; }
    /// Blocks in block-number order, then variables in definition order.
    const std::vector<ChoicePoint>& choicePoints() const { return points_; }
    /// The number of combinations: the product of the choice points' option counts.
    const VariantCount& combinations() const { return combinations_; }
    /// The text an option stands for: an alternative without its marker, or a variable's
    /// option as it is.
    std::string_view optionText(std::size_t point, std::size_t option) const;

    /// The finished text of one combination: `choice[i]` indexes choicePoints()[i].options.
    /// `\msg\` lines go to `host`. A text that turns out to ask for the date, the time or an
    /// answer (pieces can form "\date\" only when put together) sets refusal().
    void render(const std::vector<std::uint32_t>& choice, Host& host, std::string& text);

private:
    void read(std::string_view script);
    void findChoicePoints();
    IncludedFile include(std::string_view path, std::size_t room);

    ListingOptions options_;
    std::optional<std::string> refusal_;
    WorkingRecord record_;
    std::vector<std::string> variables_;
    std::vector<ChoicePoint> points_;
    VariantCount combinations_;
    std::map<std::string, IncludedFile, std::less<>> includes_;
    IncludeReader cachedInclude_;
    Picks picks_;
    std::vector<std::uint32_t> variableChoices_;
    Assembly assembly_;
    std::string scratch_;
    Random unused_;  // every variable with options takes its option from the choice
};

/// Runs through the combinations in order, the last choice point changing fastest, and yields
/// each different text once. Keeps about 32 to 64 bytes a text to tell them apart; a text
/// whose hash matches an earlier one is compared in full with that one, made again.
class DistinctTexts {
public:
    /// Messages of the first text go to `host`; the others are not shown again. At most
    /// `maxTries` combinations are made.
    DistinctTexts(ScriptListing& listing, Host& host, std::uint64_t maxTries);

    /// The next different text; false when every combination has been made, `maxTries` were
    /// made, or the listing refused a text.
    bool next();
    const std::string& text() const { return text_; }
    /// Per choice point, the index into its options of the option this text took.
    const std::vector<std::uint32_t>& choice() const { return choice_; }
    std::uint64_t tried() const { return tried_; }
    /// True once the last combination has been made.
    bool complete() const { return complete_; }
    std::size_t memoryBytes() const { return seen_.memoryBytes(); }

private:
    void decode(std::uint64_t ordinal, std::vector<std::uint32_t>& choice) const;
    void advance();
    bool isLast() const;

    ScriptListing& listing_;
    Host& host_;
    std::uint64_t maxTries_;
    std::vector<std::uint32_t> choice_;
    std::vector<std::uint32_t> earlierChoice_;
    std::string text_;
    std::string earlierText_;
    TextSet seen_;
    std::uint64_t tried_ = 0;
    bool started_ = false;
    bool complete_ = false;
};

}  // namespace korvex::engine
