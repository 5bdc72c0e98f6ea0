#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/assembling.h"

namespace korvex::engine {

/// A path as scripts and project paths write it, on disk: backslashes are folder separators,
/// and a relative path is taken from `base` (the current folder when `base` is empty).
std::filesystem::path diskPath(std::string_view pathText, const std::filesystem::path& base);

/// The text of a regular file, decoded to UTF-8 by the text codec; nothing when the file is
/// missing, unreadable, or not a regular file (a folder, a device or a pipe could hang the
/// generation or never end).
std::optional<std::string> readTextFile(const std::filesystem::path& file);

/// Reads `\inc\` files from the disk, relative paths from `base` (the current folder when
/// empty). A file larger than the room left is not read at all: it could be a sparse terabyte.
IncludeReader includeReader(const std::filesystem::path& base);

}  // namespace korvex::engine
