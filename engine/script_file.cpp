#include "engine/script_file.h"

#include <cstdio>
#include <memory>

#include "store/text_codec.h"

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
    std::error_code error;
    if (file.empty() || !std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), "rb"),
                                                           &std::fclose);
    if (!stream) {
        return std::nullopt;
    }
    std::string bytes;
    const auto size = std::filesystem::file_size(file, error);
    if (!error) {
        bytes.reserve(static_cast<std::size_t>(size));
    }
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stream.get())) > 0;) {
        bytes.append(buffer, got);
    }
    if (std::ferror(stream.get())) {
        return std::nullopt;
    }
    return store::decode(std::move(bytes)).text;
}

}  // namespace korvex::engine
