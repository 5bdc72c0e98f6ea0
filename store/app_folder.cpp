#include "store/app_folder.h"

#include "store/ascii.h"
#include "store/project_name.h"

namespace korvex::store {

std::string_view folderName(ProjectFolder folder) {
    return folder == ProjectFolder::Examples ? "Examples" : "Projects";
}

std::optional<ProjectFolder> parseProjectFolder(std::string_view name) {
    for (ProjectFolder folder : {ProjectFolder::Projects, ProjectFolder::Examples}) {
        if (ascii::equalsIgnoringCase(name, folderName(folder))) {
            return folder;
        }
    }
    return std::nullopt;
}

std::string projectPath(ProjectFolder folder, std::string_view name) {
    std::string path(folderName(folder));
    path += '\\';
    path += name;
    return path;
}

std::filesystem::path AppFolder::folder(ProjectFolder folder) const {
    return folder == ProjectFolder::Examples ? examples() : projects();
}

std::optional<std::filesystem::path> AppFolder::projectFile(ProjectFolder folder,
                                                            std::string_view name) const {
    if (!isPlainProjectName(name)) {
        return std::nullopt;
    }
    std::string fileName(name);
    fileName += kProjectExtension;
    return this->folder(folder) / fileName;
}

std::optional<std::filesystem::path> AppFolder::resolve(std::string_view relative) const {
    if (relative.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::filesystem::path path = root_;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos) {
            end = relative.size();
        }
        const std::string_view piece = relative.substr(start, end - start);
        if (piece == "." || piece == "..") {
            return std::nullopt;
        }
        if (!piece.empty()) {
            path /= std::string(piece);
        }
        start = end + 1;
    }
    return path;
}

}  // namespace korvex::store
