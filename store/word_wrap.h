#pragma once
// The editor's word-wrap state, Extra/Wrap.ini: "1" (wrapped) or "0", one line.

#include <string_view>

#include "store/app_folder.h"
#include "store/outcome.h"

namespace korvex::store {

/// True when the first comma-separated field of `text` (quotes removed) is "1".
bool parseWordWrap(std::string_view text);

/// The stored state; false (unwrapped) when the file is missing or unreadable.
bool readWordWrap(const AppFolder& app);

/// Writes "1" or "0" and CR LF to Extra/Wrap.ini.
/// Failure message: Could not write "<file>": <reason>.
Outcome writeWordWrap(const AppFolder& app, bool wrapped);

}  // namespace korvex::store
