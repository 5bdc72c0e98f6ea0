#include "engine/script_file.h"

#include "store/file_io.h"

namespace korvex::engine {

std::filesystem::path diskPath(std::string_view pathText, const std::filesystem::path& base) {
    std::string text(pathText);
    for (char& c : text) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::filesystem::path path(text);
    if (path.is_relative() && !base.empty()) {
        return base / path;
    }
    return path;
}

std::optional<std::string> readTextFile(const std::filesystem::path& file) {
    auto content = store::readTextFile(file);
    if (!content) {
        return std::nullopt;
    }
    return std::move(content->text);
}

}  // namespace korvex::engine
