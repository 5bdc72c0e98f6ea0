#include "store/projects.h"

#include "store/file_io.h"
#include "store/text_codec.h"

namespace korvex::store {
namespace fs = std::filesystem;

namespace {

// How a message names project `name`: its file, or the name as given when it names none (a
// NUL shown as \0, so the message is not cut short).
fs::path shownFile(const AppFolder& app, ProjectFolder folder, std::string_view name) {
    if (std::optional<fs::path> file = app.projectFile(folder, name)) {
        return *file;
    }
    std::string text;
    for (char c : name) {
        text += c == '\0' ? std::string_view("\\0") : std::string_view(&c, 1);
    }
    return text;
}

// An empty project file counts as absent, so a new name may take its place: it is cleared
// away first, and anything with content stays where it is for the no-replace step to refuse.
std::error_code makeRoom(const fs::path& target, const fs::path& source) {
    std::error_code ec;
    if (fs::equivalent(source, target, ec)) {
        return {};  // one file under two spellings of its name (a file system ignoring case)
    }
    return removeEmptyFile(target);
}

}  // namespace

bool projectHasContent(const AppFolder& app, ProjectFolder folder, std::string_view name) {
    const std::optional<fs::path> file = app.projectFile(folder, name);
    if (!file) {
        return false;
    }
    std::error_code ec;
    const std::uintmax_t length = fs::file_size(*file, ec);
    return !ec && length > 0;
}

std::string newProjectText(std::string_view name, std::string_view dateText,
                           std::string_view timeText) {
    std::string text = "\r\n! ";
    text += name;
    text += " --- ";
    text += dateText;
    text += "  ";
    text += timeText;
    text += "\r\n\r\n\r\n! End ";
    text += name;
    text += "\r\n\r\n";
    return text;
}

CreateResult createProject(const AppFolder& app, ProjectFolder folder, std::string_view typedName,
                           std::string_view dateText, std::string_view timeText) {
    CreateResult result;
    result.name = cleanProjectName(typedName);
    // A name made only of forbidden characters would create the nameless file ".ini".
    if (!isPlainProjectName(result.name)) {
        return result;
    }
    if (projectHasContent(app, folder, result.name)) {
        result.status = CreateResult::Status::AlreadyExists;
        result.message = kProjectExists;
        return result;
    }
    const fs::path file = *app.projectFile(folder, result.name);
    std::error_code error = removeEmptyFile(file);
    if (!error) {
        error = createFileContent(file, encode(newProjectText(result.name, dateText, timeText)));
    }
    // A project written by someone else since the look above is theirs to keep.
    if (error == std::errc::file_exists) {
        result.status = CreateResult::Status::AlreadyExists;
        result.message = kProjectExists;
        return result;
    }
    if (error) {
        result.status = CreateResult::Status::Failed;
        result.message = writeFailure(file, error).message();
        return result;
    }
    result.status = CreateResult::Status::Created;
    return result;
}

NameDecision decideNewName(const AppFolder& app, ProjectFolder folder, std::string_view currentName,
                           std::optional<std::string_view> answer) {
    NameDecision decision;
    if (!answer || answer->empty()) {
        return decision;
    }
    // The proposed name accepted as it is: ask again, even when it holds characters cleaning
    // would remove (a file named outside this program), rather than move the project.
    if (*answer == currentName) {
        decision.name = currentName;
        decision.action = NameDecision::Action::AskAgain;
        return decision;
    }
    decision.name = cleanProjectName(*answer);
    if (!isPlainProjectName(decision.name)) {
        return decision;
    }
    // Both paths lie in one folder, so comparing the names compares the paths, exactly: on a
    // file system that ignores letter case, "ABC" for "abc" gets past this test and is then
    // refused because the file has content; where case matters it is another file.
    if (decision.name == currentName) {
        decision.action = NameDecision::Action::AskAgain;
    } else if (projectHasContent(app, folder, decision.name)) {
        decision.action = NameDecision::Action::AlreadyExists;
    } else {
        decision.action = NameDecision::Action::Proceed;
    }
    return decision;
}

Outcome renameProject(const AppFolder& app, ProjectFolder folder, std::string_view oldName,
                      std::string_view newName) {
    const std::optional<fs::path> from = app.projectFile(folder, oldName);
    const std::optional<fs::path> to = app.projectFile(folder, newName);
    std::string reason(kNotAProjectName);
    if (from && to) {
        // Never over a project that appeared after the name was decided.
        std::error_code error = makeRoom(*to, *from);
        if (!error) {
            error = renameWithoutReplacing(*from, *to);
        }
        if (!error) {
            return Outcome::success();
        }
        reason = reasonText(error);
    }
    return Outcome::failure(failureText("rename", shownFile(app, folder, oldName),
                                        shownFile(app, folder, newName), reason));
}

Outcome copyProject(const AppFolder& app, ProjectFolder folder, std::string_view sourceName,
                    std::string_view newName) {
    const std::optional<fs::path> from = app.projectFile(folder, sourceName);
    const std::optional<fs::path> to = app.projectFile(folder, newName);
    std::string reason(kNotAProjectName);
    if (from && to) {
        std::error_code error;
        std::optional<std::string> bytes = readFileBytes(*from, &error);
        if (bytes) {
            error = makeRoom(*to, *from);
        }
        if (bytes && !error) {
            // Byte for byte: the copy keeps the source's encoding.
            error = createFileContent(*to, *bytes);
        }
        if (!error) {
            return Outcome::success();
        }
        reason = reasonText(error);
    }
    return Outcome::failure(failureText("copy", shownFile(app, folder, sourceName),
                                        shownFile(app, folder, newName), reason));
}

Outcome deleteProjects(const AppFolder& app, ProjectFolder folder,
                       const std::vector<std::string>& names) {
    std::string messages;
    auto failed = [&](std::string_view name, std::string_view reason) {
        if (!messages.empty()) {
            messages += '\n';
        }
        messages += failureText("delete", shownFile(app, folder, name), reason);
    };
    for (const std::string& name : names) {
        const std::optional<fs::path> file = app.projectFile(folder, name);
        if (!file) {
            failed(name, kNotAProjectName);
            continue;
        }
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(*file, ec);
        if (!fs::exists(status)) {
            continue;  // already gone: what the user asked for
        }
        if (fs::is_directory(status)) {
            // remove() would take an empty folder away; only files are projects.
            ec = std::make_error_code(std::errc::is_a_directory);
        } else {
            fs::remove(*file, ec);
        }
        if (ec) {
            failed(name, reasonText(ec));
        }
    }
    return messages.empty() ? Outcome::success() : Outcome::failure(std::move(messages));
}

}  // namespace korvex::store
