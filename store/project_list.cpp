#include "store/project_list.h"

#include <algorithm>

#include "store/app_folder.h"
#include "store/file_io.h"

namespace korvex::store {
namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string folded(std::string_view name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(), lowerAscii);
    return key;
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
    if (fileName.size() < kProjectExtension.size()) {
        return false;
    }
    std::string_view tail = fileName.substr(fileName.size() - kProjectExtension.size());
    return std::equal(tail.begin(), tail.end(), kProjectExtension.begin(),
                      [](char a, char b) { return lowerAscii(a) == b; });
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
