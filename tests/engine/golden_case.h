#pragma once
// The golden cases: one folder per case under tests/engine/golden, holding script.ini, the
// expected text (expected.txt, exact bytes) and, in case.txt, "key: value" lines:
//   seed, answer (one per question; "<cancel>" for Cancel), prompt, message, items, variants,
//   caption, end, warning, datetime (the host answers "DATE" and "TIME"), and oneof (the
//   possible texts, separated by "|", "{CRLF}" standing for a line break).
// Other files of the folder (jump targets, included files) sit beside the script.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/common/test_files.h"

namespace korvex::testing {

struct GoldenCase {
    std::string name;
    std::filesystem::path folder;
    std::optional<std::string> expected;
    std::vector<std::string> oneOf;
    std::uint64_t seed = 1;
    std::vector<std::optional<std::string>> answers;  // nullopt: Cancel
    std::vector<std::string> prompts;
    std::vector<std::string> messages;
    std::optional<std::string> items;
    std::optional<std::string> variants;
    std::optional<std::string> caption;
    bool end = false;
    bool warning = false;
    bool dateTime = false;

    /// True when `text` is what the case expects.
    bool accepts(const std::string& text) const;
};

/// Test names show the case's name, not its bytes.
inline void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<GoldenCase> loadGoldenCases(const std::filesystem::path& root);

/// A fresh application folder with the case's files in Projects/; removed on destruction.
class CaseFolder {
public:
    explicit CaseFolder(const GoldenCase& goldenCase);
    const std::filesystem::path& path() const { return folder_.path(); }

private:
    TempFolder folder_;
};

}  // namespace korvex::testing
