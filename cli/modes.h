#pragma once
// The korvex-gen modes besides generating: checking a script and listing its texts. Each takes
// a script that runKorvexGen() has found readable, and returns the exit status.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "batch/batch_writer.h"
#include "batch/text_drawer.h"

namespace korvex::cli {

/// The exit statuses besides 0 (done) and 1 (a failure, with its reason on standard error).
inline constexpr int kUsageError = 2;
/// Fewer texts than asked for: --unique or --max-similarity gave up, or --all stopped before
/// the last text. The texts written stay written.
inline constexpr int kFewerTexts = 3;

struct GenerateSettings {
    std::string script;
    /// Where the script's text is read when not from `script` (a copy of standard input).
    std::optional<std::filesystem::path> scriptFile;
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
/// targets. 1 when a text cannot be written, kFewerTexts when fewer were kept than wanted.
int runGenerate(GenerateSettings& settings, std::istream& in, std::ostream& out, std::ostream& err);

/// --check: one finding a line on `out`, "FILE:LINE:COLUMN: error|warning|note: message [code]",
/// FILE as given; the text is read from `scriptFile` when given (a copy of standard input), and
/// its jump targets are then looked for in the current folder. 0 when nothing is an error; 1
/// when something is, or `out` fails.
int runCheck(const std::string& script, const std::optional<std::filesystem::path>& scriptFile,
             std::ostream& out, std::ostream& err);

struct ListSettings {
    std::string script;
    std::uint64_t limit = 10'000;
    bool stats = false;
    bool nullSeparated = false;
    bool similarity = false;
    batch::ExportTargets targets;
    std::optional<std::filesystem::path> scriptFile;  ///< as in GenerateSettings
};

/// How many combinations --all makes at most, for each text it may write: a script whose
/// combinations mostly give the same texts ends instead of running for ever.
inline constexpr std::uint64_t kTriesPerText = 100;

/// --all: every different text, each followed by a line feed (a NUL with nullSeparated), at
/// most `limit`. 1 when the script cannot be listed or `out` fails; kFewerTexts when the limit
/// or the tries ended the listing before the last text.
int runList(const ListSettings& settings, std::ostream& out, std::ostream& err);

}  // namespace korvex::cli
