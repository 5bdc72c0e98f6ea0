#pragma once
// Creating, renaming, copying and deleting projects. The windows ask the questions and show
// the messages; these functions make the decisions and do the work on disk.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/app_folder.h"
#include "store/outcome.h"
#include "store/project_name.h"

namespace korvex::store {

/// The refusal shown when the name is taken by a file with content.
inline constexpr std::string_view kProjectExists = "This project already exist.";

/// True when the file of project `name` exists and holds at least one byte. An empty file
/// counts as absent: creating, renaming or copying onto it replaces it. False for a name that
/// is not a plain project name.
bool projectHasContent(const AppFolder& app, ProjectFolder folder, std::string_view name);

/// The six lines of a new project file as UTF-8 text, each ended by CR LF: an empty line,
/// "! <name> --- <date>  <time>", two empty lines, "! End <name>", an empty line.
std::string newProjectText(std::string_view name, std::string_view dateText,
                           std::string_view timeText);

struct CreateResult {
    enum class Status {
        NothingToDo,    ///< the name was empty, or empty once cleaned: nothing happened
        AlreadyExists,  ///< the project exists with content; `message` is kProjectExists
        Failed,         ///< the file could not be written; `message` says why
        Created,        ///< the new file is written; `name` is the project to open
    };
    Status status = Status::NothingToDo;
    std::string name;     ///< the cleaned name
    std::string message;  ///< for AlreadyExists and Failed
};

/// Creates project `typedName` (cleaned first) in `folder` with the six lines of a new
/// project, `dateText` and `timeText` being the user's short date and long time. The file is
/// written as windows-1252, or as UTF-8 when the name does not fit it.
CreateResult createProject(const AppFolder& app, ProjectFolder folder, std::string_view typedName,
                           std::string_view dateText, std::string_view timeText);

/// What a rename or copy does with one answer of the name prompt.
struct NameDecision {
    enum class Action {
        Stop,           ///< no answer (Cancel, or empty once cleaned): do nothing more
        AskAgain,       ///< the same name: ask again without a message
        AlreadyExists,  ///< show kProjectExists, then ask again
        Proceed,        ///< rename or copy to `name`
    };
    Action action = Action::Stop;
    std::string name;  ///< the cleaned answer (for AskAgain it may be the current name)
};

/// Decides one pass of the rename and copy loop for project `currentName` and the prompt's
/// `answer` (std::nullopt for Cancel). The current name given back unchanged asks again, as
/// does an answer that is the current name once cleaned as a new project's name is; the file
/// is looked at afresh on every call, so the file system decides whether two names differing
/// only in letter case are one file.
NameDecision decideNewName(const AppFolder& app, ProjectFolder folder, std::string_view currentName,
                           std::optional<std::string_view> answer);

/// Gives project `oldName` the name `newName` (as decided by decideNewName), never replacing a
/// file with content. Both must be plain project names; a refused name is quoted as given.
/// Failure message: Could not rename "<old file>" to "<new file>": <reason>.
Outcome renameProject(const AppFolder& app, ProjectFolder folder, std::string_view oldName,
                      std::string_view newName);

/// Copies project `sourceName` byte for byte to `newName` (as decided by decideNewName), never
/// replacing a file with content. Both must be plain project names, as for renameProject.
/// Failure message: Could not copy "<source file>" to "<new file>": <reason>.
Outcome copyProject(const AppFolder& app, ProjectFolder folder, std::string_view sourceName,
                    std::string_view newName);

/// Deletes the files of `names` in `folder`, going on past failures. A file that is already
/// gone is no failure; a name that is not a plain project name is refused. The message holds one
/// line per file that could not be deleted: Could not delete "<file>": <reason>.
Outcome deleteProjects(const AppFolder& app, ProjectFolder folder,
                       const std::vector<std::string>& names);

}  // namespace korvex::store
