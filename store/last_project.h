#pragma once
// The last-project record Extra/Last.dat: one line of three quoted, comma-separated fields
// (name, project folder, folder\name.ini), rewritten whole each time a project is opened.

#include <optional>
#include <string>
#include <string_view>

#include "store/app_folder.h"
#include "store/outcome.h"

namespace korvex::store {

struct LastProject {
    std::string name;
    ProjectFolder folder = ProjectFolder::Projects;
    std::string path;  ///< folder\name.ini ("Projects\Letter.ini"), made from the two fields
};

/// The record's line, CR LF included: "Letter","Projects","Projects\Letter.ini".
std::string lastProjectLine(std::string_view name, ProjectFolder folder);

/// The record in `text`; std::nullopt when the name is not a plain project name (an empty or
/// malformed record, or a name that could lead out of its folder) or when the folder is
/// neither project folder. The third field is not trusted: `path` is made from the others.
std::optional<LastProject> parseLastProject(std::string_view text);

/// Rewrites Extra/Last.dat for project `name` opened from `folder`; a name that is not a plain
/// project name is refused. Failure message: Could not write "<file>": <reason>.
Outcome writeLastProject(const AppFolder& app, std::string_view name, ProjectFolder folder);

/// The stored record; std::nullopt when the file is missing, unreadable or holds none.
std::optional<LastProject> readLastProject(const AppFolder& app);

}  // namespace korvex::store
