#pragma once
// Reading, the first stage: script lines in, working lines out. It acts on the directives that
// belong to it (`\end\`, `\rnd\`, `\if\`, `\v`) and transforms every other line into working
// form.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/random.h"
#include "engine/working_record.h"

namespace korvex::engine {

/// The draw bound, the draw and the `\if\` number: 16-bit values that live for one call of
/// generate() and survive its jumps.
struct Draws {
    int bound = 0;
    int draw = 0;
    int ifNumber = 0;
};

struct ReadingOutcome {
    WorkingRecord record;                ///< the working file (block grouping not yet done)
    std::vector<std::string> variables;  ///< `\v` lines after the keyword, trimmed; at most 100
    bool endRequested = false;
    std::optional<std::string> jumpTarget;  ///< set when an `\if\` line jumped: the pass stopped
    bool jumpRefused = false;               ///< an `\if\` line matched when jumping was not allowed
    bool scriptCut = false;  ///< the script was too long for the working record and was cut

    /// Empties the outcome and keeps its memory for the next reading.
    void clear();
};

/// What the reading pass does with one script line.
enum class ScriptLineKind {
    Skipped,   ///< blank or a comment
    End,       ///< `\end\`: noted and consumed
    Draw,      ///< `\rnd\`: draws, then goes on into the working form
    Jump,      ///< `\if\`: may jump, else goes on into the working form
    Variable,  ///< `\v`: stored and consumed
    Plain,     ///< everything else: transformed into working form
};

struct ScriptLine {
    ScriptLineKind kind;
    std::string_view argument;  ///< a directive's trimmed line after its keyword
};

/// The script line starting at `p`, which moves past its end: CR LF, a lone CR or a lone LF.
std::string_view nextScriptLine(const char*& p, const char* end);

/// What the reading pass makes of `line`, a script line as read.
ScriptLine readScriptLine(std::string_view line);

/// An `\if\` line's argument: the number before the first "=" and the target after it.
struct JumpLine {
    std::optional<int> number;          ///< empty: not a number, the previous one stays
    std::optional<std::string> target;  ///< empty: nothing after "=", the line never jumps
};
JumpLine readJump(std::string_view argument);

/// Runs the reading pass over decoded script text into `outcome`, which is emptied first.
/// `mayJump` false makes matching `\if\` lines stay where they are (the jump limit was reached).
void readScript(std::string_view script, Draws& draws, Random& random, bool mayJump,
                ReadingOutcome& outcome);

/// Appends the working form of one script line: four spaces become "[.dot4.]", "{" a line
/// break and "[.dot4.]", "}" a line break, "|" a line break and "[.dot4.]", two spaces
/// "[.dot2.]" — in that order, so four spaces are taken before two. `directive` marks the line
/// of a `\rnd\` or `\if\` directive.
void appendWorkingLines(std::string_view scriptLine, bool directive, WorkingRecord& record);

LineKind classify(std::string_view workingLine);

}  // namespace korvex::engine
