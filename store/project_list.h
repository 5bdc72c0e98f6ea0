#pragma once
// Listing a folder into the names the windows show.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::store {

/// Which files a listing takes.
enum class ListPattern {
    AllFiles,  ///< every file (the Projects Manager and the menus of projects)
    IniFiles,  ///< "*.ini": names ending in ".ini" in any letter case (the New Project dialog)
};

/// The name shown for a file: every ".ini" (exact letter case) removed wherever it occurs,
/// left to right in one pass, so "a.ini.b.ini" shows as "a.b" and "X.INI" as "X.INI".
std::string displayName(std::string_view fileName);

/// True when `fileName` matches "*.ini". File name patterns match without regard to letter
/// case, as they always did for this program, so "X.INI" matches on every file system.
bool matchesIniPattern(std::string_view fileName);

/// The display names of the files in `folder`, in alphabetical order of their file names
/// (letter case ignored, ties by byte order). Sub-folders and the temporary files of an
/// interrupted save are left out; a folder that is missing or cannot be read lists as empty.
std::vector<std::string> listProjects(const std::filesystem::path& folder, ListPattern pattern);

}  // namespace korvex::store
