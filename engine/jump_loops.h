#pragma once
// Jump chains for the checker: the scripts an `\if\` line can reach, read as a jump reaches
// them, and whether they can go round in a loop.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/checker.h"
#include "engine/reading.h"

namespace korvex::engine {

/// The file a jump to `target` reads: `<folder>/<target>.ini`, backslashes as separators.
std::filesystem::path jumpFile(const std::filesystem::path& folder, std::string_view target);

/// Whether an `\if\` line can ever jump. `sawDraw`: a `\rnd\` line stands above it in its
/// script; `bound`: that draw's bound when it is a known positive number. `reached`: the
/// script was reached by a jump, which sets the draw to -1000 until the next `\rnd\`.
bool mayMatch(const JumpLine& jump, bool sawDraw, std::optional<int> bound, bool reached);

class JumpLoops {
public:
    /// `script` is the checked script's text; `scriptFile`, when known, is where it lives, so a
    /// jump back to it is recognised.
    JumpLoops(std::filesystem::path folder, const std::optional<std::filesystem::path>& scriptFile,
              std::string_view script, const CheckFiles& files);

    /// A loop the jumps can reach from a jump to `target`, written "A -> B -> A"; empty when
    /// there is none among the first kMaxScripts scripts reached.
    std::optional<std::string> loopFrom(std::string_view target);

    static constexpr std::size_t kMaxScripts = 200;

private:
    struct Script {
        std::string name;  ///< as the first jump to it writes it
        std::filesystem::path file;
        std::optional<std::vector<std::size_t>> next;  ///< read when first needed
        bool onPath = false;
        bool done = false;
    };

    std::size_t node(std::string_view target);
    const std::vector<std::size_t>& next(std::size_t node);
    std::optional<std::string> search(std::size_t node, std::vector<std::size_t>& path);

    std::filesystem::path folder_;
    std::string_view script_;
    std::optional<std::string> scriptKey_;
    const CheckFiles& files_;
    std::map<std::string, std::size_t> byFile_;
    std::vector<Script> scripts_;
};

}  // namespace korvex::engine
