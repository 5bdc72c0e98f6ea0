#pragma once
// The "\name\" forms of the script language, as finishing treats them: markers, block
// references, and names that variables and answers can replace. The checker and the editor's
// highlighting read names through these, so both see what finishing does.

#include <cstddef>
#include <optional>
#include <string_view>

namespace korvex::engine {

/// The text between two backslashes in "\name\".
enum class InlineName {
    Empty,               ///< "\\": nothing between; the second backslash opens the next name
    Marker,              ///< "s", "b", "^", "date", "time": replaced by finishing
    BlockReference,      ///< "i" and a block number from 0 to 99 without a leading zero
    MalformedReference,  ///< "i" and digits that name no block ("i007", "i100"): stays as text
    DirectiveWord,       ///< a directive keyword, which acts only where a line begins
    Spaced,              ///< holds a space: no variable or answer is named so
    Name,                ///< anything else: replaced when a variable or an answer has the name
};

InlineName classifyInlineName(std::string_view name);

/// The block a reference names: "i7" is 7; empty unless classifyInlineName gives
/// BlockReference.
std::optional<std::size_t> referencedBlock(std::string_view name);

}  // namespace korvex::engine
