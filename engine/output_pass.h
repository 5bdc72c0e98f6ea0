#pragma once
// The picking pass and the output pass: one alternative per block, then the text lines and
// picks assembled in working-file order, with messages, questions and included files.

#include <array>
#include <cstddef>
#include <filesystem>
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

struct OutputContext {
    Host& host;
    std::filesystem::path includeBase;  ///< relative `\inc\` paths start here
    std::size_t maxBytes;
};

OutputOutcome assembleOutput(const WorkingRecord& record, const std::vector<LineKind>& kinds,
                             const std::vector<std::string_view>& picks,
                             const OutputContext& context);

}  // namespace korvex::engine
