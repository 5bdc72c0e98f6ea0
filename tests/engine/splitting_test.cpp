// Splitting: alternative lines grouped into numbered blocks.

#include <gtest/gtest.h>

#include <string>

#include "engine/markers.h"
#include "stage_records.h"

namespace korvex::engine {
namespace {

TEST(Blocks, NumberedByTheTextLinesBeforeThem) {
    const WorkingRecord record =
        recordOf({"{a|b}", "text", "! note", "    c", "", "    d", "more", "end"});
    EXPECT_EQ(record.blockCount(), 3u);
    EXPECT_EQ(record.alternativesOf(0), 2u);
    EXPECT_EQ(record.alternativesOf(1), 2u);  // blank and comment lines do not end a block
    EXPECT_EQ(record.alternativesOf(2), 0u);
    EXPECT_EQ(record.alternativesOf(3), 0u);
    EXPECT_EQ(record.line(record.altLines[record.blockStart[1]]),
              std::string(kAlternativeMarker) + "c");

    const WorkingRecord plain = recordOf({"only text", "and more"});
    EXPECT_EQ(plain.blockCount(), 0u);  // without alternatives there is just block 0
}

}  // namespace
}  // namespace korvex::engine
