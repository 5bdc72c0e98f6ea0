#pragma once
// Assembling, the fourth stage: the text lines and picks put together in working-file order,
// with messages, questions and included files on the way. Text in, text out: files reach it
// through the reader it is given.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host.h"
#include "engine/markers.h"
#include "engine/picking.h"
#include "engine/working_record.h"

namespace korvex::engine {

/// What an `\inp\` line keeps: the answer, and the name it replaces.
struct Answer {
    std::string answer;
    std::string name;
};
using AnswerSlots = std::array<std::optional<Answer>, kSlotCount>;

struct Assembly {
    std::string text;
    AnswerSlots answers;
    bool cut = false;  ///< a piece was left out: the text would have outgrown its size limit

    /// Empties the assembly and keeps its memory for the next generation.
    void clear();
};

/// The file an `\inc\` line names, as assembling receives it.
struct IncludedFile {
    enum class Status {
        Read,      ///< `text` holds the file's text, decoded
        Missing,   ///< missing or unreadable: the line adds nothing
        TooLarge,  ///< larger than the room left in the text: not read at all
    };
    Status status = Status::Missing;
    std::string text;
};

/// Reads the file an `\inc\` line names (the path as the script writes it). `room` is the
/// most text that can still be taken; a larger file is TooLarge and never read.
using IncludeReader = std::function<IncludedFile(std::string_view path, std::size_t room)>;

struct AssemblyContext {
    Host& host;
    const IncludeReader& readInclude;  ///< empty: `\inc\` lines add nothing
    std::size_t maxBytes;
};

/// What a text line does in the output pass instead of adding itself.
enum class OutputDirective { None, Message, Input, Include };
/// `\msg\` and `\inc\` act only at the very start of the working line; `\inp\` after spaces
/// too, in any letter case.
OutputDirective outputDirective(std::string_view workingLine);

/// An `\inp\` line taken apart: every "\inp\" removed, the rest split at "_" into slot,
/// prompt and name.
struct InputLine {
    std::size_t fieldCount = 0;
    std::string slotText;             ///< the slot field, trimmed
    std::optional<double> slot;       ///< empty: not a number, the current slot stays
    std::string prompt;               ///< empty when the line has no prompt field
    std::optional<std::string> name;  ///< up to any "="; empty when the line has no name field
};
InputLine readInputLine(std::string_view workingLine);

/// Assembles the output text: each block's pick where its first alternative stands, every
/// other text line trimmed, without line breaks; `\msg\`, `\inp\` and `\inc\` lines act
/// instead of adding themselves.
/// The result goes into `outcome`, emptied first.
void assemble(const WorkingRecord& record, const Picks& picks, const AssemblyContext& context,
              Assembly& outcome);

}  // namespace korvex::engine
