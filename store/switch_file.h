#pragma once
// A yes/no choice the program keeps in a one-line file of its own under Extra/ ("1" or "0"
// and CR LF): the word-wrap state, the highlighting and the editor's preview.

#include <filesystem>
#include <string_view>

#include "store/outcome.h"

namespace korvex::store {

/// The first comma-separated field of `text` (quotes removed): "1" is on, "0" is off, and
/// anything else leaves the choice at `byDefault`.
bool parseSwitch(std::string_view text, bool byDefault);

/// The choice in `file`; `byDefault` when the file is missing or unreadable.
bool readSwitch(const std::filesystem::path& file, bool byDefault);

/// Writes "1" or "0" and CR LF.
/// Failure message: Could not write "<file>": <reason>.
Outcome writeSwitch(const std::filesystem::path& file, bool on);

}  // namespace korvex::store
