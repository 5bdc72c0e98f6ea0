#pragma once
// Working records made from script lines, for the tests of the stages after reading.

#include <initializer_list>
#include <string_view>

#include "engine/reading.h"
#include "engine/splitting.h"

namespace korvex::engine {

/// The working form of `scriptLines` (no directive acted on), split into blocks.
inline WorkingRecord recordOf(std::initializer_list<std::string_view> scriptLines) {
    WorkingRecord record;
    for (const std::string_view line : scriptLines) {
        appendWorkingLines(line, false, record);
    }
    splitBlocks(record);
    return record;
}

}  // namespace korvex::engine
