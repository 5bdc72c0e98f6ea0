#pragma once
// Whether the editor colours the script, Extra/Highlight.ini: "1" (on) or "0", one line.

#include <string_view>

#include "store/app_folder.h"
#include "store/outcome.h"

namespace korvex::store {

/// False only when the first comma-separated field of `text` (quotes removed) is "0": the
/// colours are on unless the user switched them off.
bool parseHighlighting(std::string_view text);

/// The stored choice; true (on) when the file is missing or unreadable.
bool readHighlighting(const AppFolder& app);

/// Writes "1" or "0" and CR LF to Extra/Highlight.ini.
/// Failure message: Could not write "<file>": <reason>.
Outcome writeHighlighting(const AppFolder& app, bool on);

}  // namespace korvex::store
