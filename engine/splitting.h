#pragma once
// Splitting, the second stage: groups the alternative lines of the working file into blocks.

#include "engine/working_record.h"

namespace korvex::engine {

/// Fills `record.altLines` and `record.blockStart`. A block is a run of alternative lines not
/// interrupted by a text line (blank and comment lines do not interrupt it); its number is the
/// count of text lines before it. Without any alternative line there is only block 0, empty.
void splitBlocks(WorkingRecord& record);

}  // namespace korvex::engine
