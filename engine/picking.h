#pragma once
// Picking, the third stage: one alternative drawn for every block.

#include <string_view>
#include <vector>

#include "engine/random.h"
#include "engine/working_record.h"

namespace korvex::engine {

/// The pick of every block number from 0 to the block count, marker included; empty for a
/// block without alternatives. The generator is re-seeded from its clock before each draw.
std::vector<std::string_view> pickAlternatives(const WorkingRecord& record, Random& random);

}  // namespace korvex::engine
