#pragma once
// The picking pass and the output pass: one alternative per block, then the text lines and
// picks assembled in working-file order, with messages, questions and included files.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/host.h"
#include "engine/random.h"
#include "engine/reading_pass.h"
#include "engine/working_record.h"

namespace korvex::engine {

/// The pick of every block number from 0 to the block count, marker included; empty for a
/// block without alternatives. The generator is re-seeded from its clock before each draw.
std::vector<std::string_view> pickAlternatives(const WorkingRecord& record, Random& random);

/// What an `\inp\` line keeps: the answer, and the name it replaces.
struct Answer {
    std::string answer;
    std::string name;
};
inline constexpr std::size_t kAnswerSlots = 100;
using AnswerSlots = std::array<std::optional<Answer>, kAnswerSlots>;

struct OutputOutcome {
    std::string text;
    AnswerSlots answers;
    bool cut = false;  ///< the text reached its size limit and the rest was left out
};

/// The file an `\inc\` line names, as the output pass receives it.
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

struct OutputContext {
    Host& host;
    IncludeReader readInclude;  ///< empty: `\inc\` lines add nothing
    std::size_t maxBytes;
};

OutputOutcome assembleOutput(const WorkingRecord& record, const std::vector<LineKind>& kinds,
                             const std::vector<std::string_view>& picks,
                             const OutputContext& context);

}  // namespace korvex::engine
