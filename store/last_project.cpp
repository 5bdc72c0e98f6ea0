#include "store/last_project.h"

#include <vector>

#include "store/file_io.h"
#include "store/project_name.h"
#include "store/record_fields.h"

namespace korvex::store {

std::string lastProjectLine(std::string_view name, ProjectFolder folder) {
    std::string path = projectPath(folder, name);
    path += kProjectExtension;
    std::string line = quoteField(name);
    line += ',';
    line += quoteField(folderName(folder));
    line += ',';
    line += quoteField(path);
    line += "\r\n";
    return line;
}

std::optional<LastProject> parseLastProject(std::string_view text) {
    std::vector<std::string> fields = readRecordFields(text, 3);
    if (!isPlainProjectName(fields[0])) {
        return std::nullopt;
    }
    // The folder field becomes the current project folder; anything but the two project
    // folders would point the program at a place it never lists.
    std::optional<ProjectFolder> folder = parseProjectFolder(fields[1]);
    if (!folder) {
        return std::nullopt;
    }
    // The stored path is never used as it is: rebuilt from the checked name, it cannot point
    // anywhere else.
    std::string path = projectPath(*folder, fields[0]);
    path += kProjectExtension;
    return LastProject{std::move(fields[0]), *folder, std::move(path)};
}

Outcome writeLastProject(const AppFolder& app, std::string_view name, ProjectFolder folder) {
    if (!isPlainProjectName(name)) {
        return Outcome::failure(failureText("write", app.lastProjectFile(), kNotAProjectName));
    }
    return writeTextFile(app.lastProjectFile(), lastProjectLine(name, folder));
}

std::optional<LastProject> readLastProject(const AppFolder& app) {
    std::optional<DecodedText> content = readDecodedText(app.lastProjectFile());
    if (!content) {
        return std::nullopt;
    }
    return parseLastProject(content->text);
}

}  // namespace korvex::store
