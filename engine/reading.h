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
