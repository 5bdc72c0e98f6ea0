#pragma once
// The script checker: what a script does that its writer may well not mean, found without
// generating. Each rule follows what the stages really do with the script, so a finding never
// describes a text the engine would not give.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::engine {

enum class Severity { Error, Warning, Note };

/// "error", "warning" or "note".
std::string_view severityName(Severity severity);

struct Diagnostic {
    std::size_t line = 0;    ///< from 1; 0 for a note on the whole list, which has no place
    std::size_t column = 0;  ///< from 1, in characters
    Severity severity = Severity::Error;
    std::string code;  ///< stable, for tools and tests: "unclosed-brace"
    std::string message;
    bool operator==(const Diagnostic&) const = default;
};

enum class FileKind { Missing, Regular, Folder, Other };

/// The files a check looks at. The default looks at the disk; a test gives a fake. Must be
/// safe to call from the thread that runs the check.
class CheckFiles {
public:
    virtual ~CheckFiles() = default;
    virtual FileKind kind(const std::filesystem::path& file) const;
    /// The decoded text of a script a jump reaches; empty when it cannot be read.
    virtual std::optional<std::string> read(const std::filesystem::path& file) const;
};

struct CheckOptions {
    /// Relative `\inc\` paths start here; empty means the current folder.
    std::filesystem::path includeFolder;
    /// Jumps go to `<jumpFolder>/<target>.ini`; empty: targets are not looked for (the
    /// runtime jumps to its own script).
    std::optional<std::filesystem::path> jumpFolder;
    /// The checked script's own file, so that a chain of jumps back to it is seen as a loop.
    std::optional<std::filesystem::path> scriptFile;
    /// nullptr: the disk.
    std::shared_ptr<const CheckFiles> files;
    /// Named in the message about jump loops: jumping stops after this many.
    std::size_t maxJumps = 1000;
};

/// A script can hold a finding in every byte; past this many, one note says the rest was left
/// out.
inline constexpr std::size_t kMaxFindings = 1000;

/// Checks decoded script text. Reads no state but its arguments, so it may run on any thread.
/// The findings come sorted by line and column, a note without a place last.
std::vector<Diagnostic> check(std::string_view script, const CheckOptions& options);

}  // namespace korvex::engine
