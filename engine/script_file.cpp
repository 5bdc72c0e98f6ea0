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
    auto content = store::readDecodedText(file);
    if (!content) {
        return std::nullopt;
    }
    return std::move(content->text);
}

IncludeReader includeReader(const std::filesystem::path& base) {
    return [base](std::string_view pathText, std::size_t room) {
        const auto file = diskPath(pathText, base);
        IncludedFile included;
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        if (!error && size > room) {
            included.status = IncludedFile::Status::TooLarge;
        } else if (auto text = readTextFile(file)) {
            included.status = IncludedFile::Status::Read;
            included.text = std::move(*text);
        }
        return included;
    };
}

}  // namespace korvex::engine
