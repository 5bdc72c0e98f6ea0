#pragma once
// One record per text of a batch, for a spreadsheet (CSV) or a program (JSON Lines): where the
// text stands, its seed, the text, and the choice it took at every block and every variable
// with options, so a text can be traced back to the script.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/generate.h"
#include "engine/text_listing.h"

namespace korvex::batch {

enum class RecordFormat { Csv, JsonLines };

/// A choice the script makes, one field of every record.
struct ChoiceField {
    bool variable = false;
    std::size_t number = 0;  ///< the block number, or the variable's slot
    std::string name;        ///< the variable's name
    /// "block 3" or "variable colour".
    std::string title() const;
};

/// The fields of the records of one script.
struct RecordLayout {
    std::vector<ChoiceField> choices;  ///< blocks with alternatives, then variables with options
    bool seeds = false;                ///< a draw and a seed field: each text has its own seed
    bool jumps = false;                ///< a jump field: the script has `\if\` lines
};

/// The layout of the texts drawn from `script` (its text, decoded): its blocks and variables
/// as they stand when it does not jump. A text that jumped came from another script: its
/// choice fields stay empty and the jump field names the script.
RecordLayout scriptLayout(std::string_view script);
/// The layout of the texts of a listing of every text.
RecordLayout listingLayout(const engine::ScriptListing& listing);

/// One text and its choices: a block's field holds the number of the alternative taken,
/// counted from 1 in script order, a variable's the option's text; empty for no choice.
struct TextRecord {
    std::uint64_t index = 0;  ///< its position among the texts written, from 1
    std::uint64_t draw = 0;   ///< the draw that made it
    std::uint64_t seed = 0;   ///< its own seed
    std::string_view text;
    std::string_view jump;  ///< the script a jump led to, empty without one
    std::vector<std::optional<std::string>> choices;
};

/// The choices of a drawn text into `record.choices`.
void takeChoices(const RecordLayout& layout, const engine::GenerationChoices& choices, bool jumped,
                 TextRecord& record);
/// The choices of a listed text: `choice` as engine::DistinctTexts::choice() gives it.
void takeChoices(const RecordLayout& layout, const engine::ScriptListing& listing,
                 const std::vector<std::uint32_t>& choice, TextRecord& record);

/// The header: the CSV's first line, nothing for JSON Lines. CSV files begin with a UTF-8
/// byte-order mark, by which spreadsheets know the encoding.
std::string recordHeader(RecordFormat format, const RecordLayout& layout);
/// One record: a CSV line quoted as RFC 4180 says (CR LF at the end, and inside quotes where
/// the text has line breaks), or one JSON object and a line feed. A JSON seed is a string, as
/// 64-bit numbers lose digits in many JSON readers.
void appendRecord(RecordFormat format, const RecordLayout& layout, const TextRecord& record,
                  std::string& out);

}  // namespace korvex::batch
