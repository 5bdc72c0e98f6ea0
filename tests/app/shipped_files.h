#pragma once
// The application-folder skeleton as it is shipped (app/ in the source tree), read as the
// program reads it.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "store/ascii.h"
#include "tests/common/test_files.h"

namespace korvex::testing {

/// The source app/ folder, which the build copies beside the executables.
inline std::filesystem::path appSourceFolder() {
    return std::filesystem::path(KORVEX_APP_SOURCE_DIR);
}

/// The lines of a text with CR LF line ends (a last line without one counts too).
inline std::vector<std::string> splitCrLfLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 2);
    }
    return lines;
}

using korvex::ascii::trimSpaces;

/// The example project names (file names without ".ini"), sorted.
inline std::vector<std::string> shippedExampleNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(appSourceFolder() / "Examples", error)) {
        if (entry.path().extension() == ".ini") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace korvex::testing
