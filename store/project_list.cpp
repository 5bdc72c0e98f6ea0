#include "store/project_list.h"

#include <algorithm>

#include "store/app_folder.h"
#include "store/ascii.h"
#include "store/file_io.h"

namespace korvex::store {
namespace fs = std::filesystem;

namespace {

std::string folded(std::string_view name) {
    return ascii::toLower(name);
}

}  // namespace

std::string displayName(std::string_view fileName) {
    std::string name;
    name.reserve(fileName.size());
    std::size_t start = 0;
    for (;;) {
        std::size_t found = fileName.find(kProjectExtension, start);
        if (found == std::string_view::npos) {
            break;
        }
        name.append(fileName.substr(start, found - start));
        start = found + kProjectExtension.size();
    }
    name.append(fileName.substr(start));
    return name;
}

bool matchesIniPattern(std::string_view fileName) {
    return ascii::endsWithIgnoringCase(fileName, kProjectExtension);
}

std::vector<std::string> listProjects(const fs::path& folder, ListPattern pattern) {
    std::vector<std::string> fileNames;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return {};
    }
    for (const fs::directory_iterator end; it != end;) {
        std::error_code entryError;
        std::string fileName = it->path().filename().string();
        const bool wanted = it->is_regular_file(entryError) &&
                            !fileName.starts_with(kSaveTempPrefix) &&
                            (pattern == ListPattern::AllFiles || matchesIniPattern(fileName));
        if (wanted) {
            fileNames.push_back(std::move(fileName));
        }
        it.increment(ec);
        if (ec) {
            break;  // what was read so far still lists
        }
    }
    // Alphabetical as a person reads it: letter case ignored, byte order only to break ties.
    std::sort(fileNames.begin(), fileNames.end(), [](const std::string& a, const std::string& b) {
        std::string foldedA = folded(a);
        std::string foldedB = folded(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    std::vector<std::string> names;
    names.reserve(fileNames.size());
    for (const std::string& fileName : fileNames) {
        names.push_back(displayName(fileName));
    }
    return names;
}

}  // namespace korvex::store
