#pragma once
// The script engine's facade: one call of generate() is one generation.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host.h"
#include "engine/picking.h"
#include "engine/random.h"
#include "engine/variant_count.h"
#include "engine/working_record.h"

namespace korvex::engine {

struct Options {
    /// Project paths and relative `\inc\` paths resolve against this folder (the application
    /// folder); empty means the process's current folder.
    std::filesystem::path appFolder;
    /// Read this file for the first script instead of `<project path>.ini` (the command line
    /// and the runtime read a file as given).
    std::optional<std::filesystem::path> scriptFile;
    /// Generate the first script from this text instead of reading it (the editor's preview of
    /// a script not yet saved); jumps read their targets from disk as ever.
    std::optional<std::string> scriptText;
    /// Jump targets become `<jumpFolder>/<target>.ini` instead of a project of the project
    /// path's folder.
    std::optional<std::filesystem::path> jumpFolder;
    /// The standalone runtime: every jump reads the first script again, and no counts are kept.
    bool runtime = false;
    /// After this many jumps in one generation `\if\` lines stop jumping.
    std::size_t maxJumps = 1000;
    /// The text never grows beyond this many bytes: a script whose variables, block references
    /// or includes would blow it up further is cut short, with a warning.
    std::size_t maxTextBytes = std::size_t{256} << 20;
};

/// What a warning is about, so a window can choose how to show it and a test can ask for it.
enum class WarningKind {
    JumpLimit,    ///< `\if\` lines stopped jumping after Options::maxJumps
    TextLimit,    ///< the text reached Options::maxTextBytes and part of it was left out
    ScriptLimit,  ///< the script was too long to read whole and its end was left out
};

/// Something the user should know about a generation that still delivered its text.
struct Warning {
    WarningKind kind;
    std::string text;  ///< fit to show the user as it is
    bool operator==(const Warning&) const = default;
};

struct GenerationResult {
    std::string text;  ///< UTF-8, CR LF line breaks
    /// Alternative lines written to block files; 0 when below 2. Always 0 in the runtime.
    long long alternativeCount = 0;
    VariantCount variantCount;
    std::optional<std::string> caption;  ///< target of the last jump taken
    std::string projectPath;             ///< the path in force at the end (a jump changes it)
    bool endRequested = false;
    std::vector<Warning> warnings;
    WorkingRecord record;  ///< what the working files hold, for writeWorkingFiles
};

/// What one generation chose, for a caller that records it beside the text.
struct GenerationChoices {
    const WorkingRecord& record;  ///< the script the text came from, after any jump
    const Picks& picks;           ///< per block number, the working line picked, or kNoPick
    const std::vector<std::string>& variables;  ///< `\v` slots in definition order
    /// Per variable slot, the index of the option taken; kNoPick for a slot without options.
    const std::vector<std::uint32_t>& takenOptions;
};

/// Runs generations one after another, keeping its working memory from one to the next: a
/// series of generations (korvex-gen -n) then neither allocates nor faults in the same memory
/// again for each text.
class Generator {
public:
    Generator(Options options, Host& host, Random& random);
    ~Generator();
    Generator(const Generator&) = delete;
    Generator& operator=(const Generator&) = delete;

    /// One generation, as generate() runs it. The result is the generator's own: it stays valid,
    /// and may be taken apart, until the next call.
    GenerationResult& generate(std::string_view projectPath);
    /// The choices of the last generation; valid until the next one.
    GenerationChoices choices() const;

private:
    struct Stages;
    Options options_;
    Host& host_;
    Random& random_;
    std::unique_ptr<Stages> stages_;
    GenerationResult result_;
};

/// Runs one generation of the project at `projectPath` ("Projects\Letter": project folder,
/// backslash, name, no extension). Backslashes in paths are folder separators on disk.
GenerationResult generate(std::string_view projectPath, const Options& options, Host& host,
                          Random& random);

}  // namespace korvex::engine
