#pragma once
// The korvex-gen modes besides generating: checking a script and listing its texts. Each takes
// a script that runKorvexGen() has found readable, and returns the exit status.

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <optional>
#include <string>

#include "batch/batch_writer.h"
#include "batch/text_drawer.h"

namespace korvex::cli {

struct GenerateSettings {
    std::string script;
    std::deque<std::string> answers;
    std::optional<std::string> workDir;
    std::optional<std::uint64_t> seed;
    batch::DrawSettings draw;
    bool separated = false;  ///< each text followed by a line feed (or a NUL)
    bool nullSeparated = false;
    bool stats = false;
    bool similarity = false;
    batch::ExportTargets targets;
};

/// Generating: one text, -n, --unique or --only, to standard output or to the export
/// targets. 1 when a text cannot be written.
int runGenerate(GenerateSettings& settings, std::istream& in, std::ostream& out, std::ostream& err);

/// --check: one finding a line on `out`, "FILE:LINE:COLUMN: error|warning|note: message [code]",
/// FILE as given. 0 when nothing is an error; 1 when something is, or `out` fails.
int runCheck(const std::string& script, std::ostream& out, std::ostream& err);

struct ListSettings {
    std::string script;
    std::uint64_t limit = 10'000;
    bool stats = false;
    bool nullSeparated = false;
    bool similarity = false;
    batch::ExportTargets targets;
};

/// How many combinations --all makes at most, for each text it may write: a script whose
/// combinations mostly give the same texts ends instead of running for ever.
inline constexpr std::uint64_t kTriesPerText = 100;

/// --all: every different text, each followed by a line feed (a NUL with nullSeparated), at
/// most `limit`. 1 when the script cannot be listed or `out` fails.
int runList(const ListSettings& settings, std::ostream& out, std::ostream& err);

}  // namespace korvex::cli
