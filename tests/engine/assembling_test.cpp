// Assembling: picks and text lines in working-file order, and what the directives add.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/assembling.h"
#include "stage_records.h"

namespace korvex::engine {
namespace {

// Assembling reads nothing itself: included files come through the reader it is given.
TEST(Assembling, IncludesThroughItsReader) {
    class SilentHost : public Host {
        void showMessage(std::string_view) override {}
        std::optional<std::string> askInput(std::string_view) override { return std::nullopt; }
        std::string dateText() override { return {}; }
        std::string timeText() override { return {}; }
    } host;
    WorkingRecord record =
        recordOf({"x", "\\inc\\ one ", "\\inc\\ missing", "\\inc\\ big", "\\inc\\ one", "y"});
    std::vector<std::pair<std::string, std::size_t>> asked;
    auto reader = [&](std::string_view path, std::size_t room) {
        asked.emplace_back(path, room);
        using Status = IncludedFile::Status;
        if (path == "one") {
            return IncludedFile{Status::Read, "1\r2\n"};
        }
        return IncludedFile{path == "big" ? Status::TooLarge : Status::Missing, {}};
    };
    const IncludeReader readInclude = reader;
    Assembly output;
    assemble(record, {kNoPick}, AssemblyContext{host, readInclude, 100}, output);
    EXPECT_EQ(output.text, "x1\r\n2\r\n1\r\n2\r\ny");
    EXPECT_TRUE(output.cut);  // the big file was left out, and only it
    const std::vector<std::pair<std::string, std::size_t>> expected{
        {"one", 99}, {"missing", 93}, {"big", 93}, {"one", 93}};
    EXPECT_EQ(asked, expected);
}

}  // namespace
}  // namespace korvex::engine
