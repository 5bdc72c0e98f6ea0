#pragma once
// Picking, the third stage: one alternative drawn for every block.

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/random.h"
#include "engine/working_record.h"

namespace korvex::engine {

/// The pick of each block number from 0 to the block count: the working line picked, by its
/// index in the record.
using Picks = std::vector<std::uint32_t>;
/// The pick of a block without alternatives.
inline constexpr std::uint32_t kNoPick = std::numeric_limits<std::uint32_t>::max();

/// Draws the pick of every block into `picks`. The generator is re-seeded from its clock
/// before each draw.
void pickAlternatives(const WorkingRecord& record, Random& random, Picks& picks);

/// A pick as the text receives it: the alternative line, marker included; empty for none.
std::string pickText(const WorkingRecord& record, std::uint32_t pick);

}  // namespace korvex::engine
