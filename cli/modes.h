#pragma once
// The korvex-gen modes besides generating: checking a script and listing its texts. Each takes
// a script that runKorvexGen() has found readable, and returns the exit status.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace korvex::cli {

/// --check: one finding a line on `out`, "FILE:LINE:COLUMN: error|warning|note: message [code]",
/// FILE as given. 0 when nothing is an error; 1 when something is, or `out` fails.
int runCheck(const std::string& script, std::ostream& out, std::ostream& err);

struct ListSettings {
    std::string script;
    std::uint64_t limit = 10'000;
    bool stats = false;
    bool nullSeparated = false;
};

/// How many combinations --all makes at most, for each text it may write: a script whose
/// combinations mostly give the same texts ends instead of running for ever.
inline constexpr std::uint64_t kTriesPerText = 100;

/// --all: every different text, each followed by a line feed (a NUL with nullSeparated), at
/// most `limit`. 1 when the script cannot be listed or `out` fails.
int runList(const ListSettings& settings, std::ostream& out, std::ostream& err);

}  // namespace korvex::cli
