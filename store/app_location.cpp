#include "store/app_location.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "store/file_io.h"
#include "store/outcome.h"

namespace korvex::store {
namespace fs = std::filesystem;

namespace {

// The folders every application folder has; Compiled is made by runtime creation when needed.
constexpr std::string_view kFolders[] = {"Projects", "Temp", "Exported", "Examples", "Extra"};
// The parts of a skeleton that are copied; a portable folder used as the skeleton also holds
// the working files and its user's projects, which are not.
constexpr std::string_view kSkeletonParts[] = {"Examples", "Extra"};
// A start-up box lists this many problems and counts the rest.
constexpr std::size_t kProblemsShown = 3;

std::string quoted(const fs::path& path) {
    std::string text = "\"";
    text += path.string();
    text += '"';
    return text;
}

std::string createFailure(const fs::path& folder, const std::error_code& error) {
    return failureText("create", folder, reasonText(error));
}

// Why the program cannot create files in `folder`; empty when it can.
std::error_code folderWriteError(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return error ? error : std::make_error_code(std::errc::not_a_directory);
    }
    if (::access(folder.c_str(), W_OK) != 0) {
        return std::error_code(errno, std::generic_category());
    }
    return {};
}

// The help's pictures, in Extra/Help/, belong to the help page.
bool isProgramFile(const fs::path& relative) {
    const std::string name = relative.generic_string();
    return name.starts_with("Extra/Help/") ||
           std::find(std::begin(kProgramFiles), std::end(kProgramFiles), name) !=
               std::end(kProgramFiles);
}

// The source's permissions, always writable by the owner, so a later update can replace it.
void copyPermissions(const fs::path& from, const fs::path& to) {
    std::error_code ignored;
    const fs::perms perms = fs::status(from, ignored).permissions();
    if (perms != fs::perms::unknown) {
        fs::permissions(to, perms | fs::perms::owner_write, ignored);
    }
}

class Seeder {
public:
    Seeder(const fs::path& skeleton, const fs::path& target, const fs::path& programs)
        : skeleton_(skeleton), target_(target), programs_(programs) {}

    SeedReport run() {
        if (!makeFolder(target_)) {
            return report_;
        }
        for (std::string_view name : kFolders) {
            makeFolder(target_ / name);
        }
        if (!skeleton_.empty()) {
            for (std::string_view part : kSkeletonParts) {
                copyTree(fs::path(part));
            }
        }
        for (std::string_view name : kInstalledPrograms) {
            std::error_code ignored;
            if (!programs_.empty() && fs::is_regular_file(programs_ / name, ignored)) {
                copyFile(programs_ / name, fs::path("Extra") / name);
            }
        }
        return report_;
    }

private:
    // create_directories fails on anything in the way that is not a folder.
    bool makeFolder(const fs::path& folder) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) {
            report_.problems.push_back(createFailure(folder, error));
        }
        return !error;
    }

    void copyTree(const fs::path& part) {
        std::error_code error;
        fs::recursive_directory_iterator it(skeleton_ / part, error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            const fs::path relative = it->path().lexically_relative(skeleton_);
            std::error_code ignored;
            if (it->is_directory(ignored)) {
                makeFolder(target_ / relative);
            } else if (it->is_regular_file(ignored)) {
                copyFile(skeleton_ / relative, relative);
            }
        }
    }

    void copyFile(const fs::path& from, const fs::path& relative) {
        const fs::path to = target_ / relative;
        std::error_code error;
        const bool exists = fs::exists(fs::symlink_status(to, error));
        if (exists && !isProgramFile(relative)) {
            return;
        }
        const std::optional<std::string> bytes = readFileBytes(from, &error);
        if (!bytes) {
            report_.problems.push_back(failureText("read", from, reasonText(error)));
            return;
        }
        if (exists) {
            if (readFileBytes(to) == bytes) {
                return;
            }
            error = replaceFileContent(to, *bytes);
        } else {
            error = createFileContent(to, *bytes);
            // Another start of the program made it meanwhile: it is there, which is all we want.
            if (error == std::errc::file_exists) {
                return;
            }
        }
        if (error) {
            report_.problems.push_back(writeFailure(to, error).message());
            return;
        }
        copyPermissions(from, to);
        ++(exists ? report_.replaced : report_.copied);
    }

    fs::path skeleton_;
    fs::path target_;
    fs::path programs_;
    SeedReport report_;
};

// The problems of a seeding as start-up warnings: the first few, then how many more.
void addProblems(const std::vector<std::string>& problems, std::vector<std::string>& warnings) {
    if (problems.empty()) {
        return;
    }
    std::string text;
    for (std::size_t i = 0; i < problems.size() && i < kProblemsShown; ++i) {
        if (i > 0) {
            text += '\n';
        }
        text += problems[i];
    }
    if (problems.size() > kProblemsShown) {
        text += '\n';
        text += std::to_string(problems.size() - kProblemsShown);
        text += " more files or folders could not be prepared either.";
    }
    warnings.push_back(std::move(text));
}

}  // namespace

UserDataHome UserDataHome::fromEnvironment() {
    UserDataHome home;
    if (const char* value = std::getenv("XDG_DATA_HOME")) {
        home.xdgDataHome = value;
    }
    if (const char* value = std::getenv("HOME")) {
        home.home = value;
    }
    return home;
}

fs::path perUserFolder(const UserDataHome& home) {
    const fs::path xdg(home.xdgDataHome);
    if (xdg.is_absolute()) {
        return xdg / kPerUserFolderName;
    }
    const fs::path user(home.home);
    if (user.is_absolute()) {
        return user / ".local" / "share" / kPerUserFolderName;
    }
    return {};
}

bool holdsSkeleton(const fs::path& folder) {
    std::error_code ignored;
    return std::all_of(
        std::begin(kSkeletonParts), std::end(kSkeletonParts),
        [&](std::string_view part) { return fs::is_directory(folder / part, ignored); });
}

bool isWritableFolder(const fs::path& folder) {
    return !folderWriteError(folder);
}

fs::path installedPrograms(const fs::path& installedSkeleton) {
    return (installedSkeleton / KORVEX_PROGRAMS_FROM_SKELETON).lexically_normal();
}

SeedReport seedAppFolder(const fs::path& skeleton, const fs::path& target,
                         const fs::path& programs) {
    return Seeder(skeleton, target, programs).run();
}

AppFolderChoice chooseAppFolder(const fs::path& programFolder, const fs::path& installedSkeleton,
                                const UserDataHome& home) {
    AppFolderChoice choice;
    if (holdsSkeleton(programFolder) && isWritableFolder(programFolder)) {
        choice.folder = programFolder;
        return choice;
    }
    fs::path skeleton;
    fs::path programs;
    if (holdsSkeleton(installedSkeleton)) {
        // Named in messages: share/korvex5 reads better than bin/../share/korvex5.
        skeleton = installedSkeleton.lexically_normal();
        programs = installedPrograms(skeleton);
    } else if (holdsSkeleton(programFolder)) {
        skeleton = programFolder;
    } else {
        choice.warnings.push_back("Could not find the examples, the help and the settings: " +
                                  quoted(installedSkeleton) + " is missing or incomplete.");
    }
    const fs::path readable = skeleton.empty() ? programFolder : skeleton;
    const std::string readOnlyNote =
        " Korvex5 opens the files in " + quoted(readable) + " instead, where nothing can be saved.";

    const fs::path user = perUserFolder(home);
    if (user.empty()) {
        choice.folder = readable;
        choice.kind = AppFolderChoice::Kind::ReadOnly;
        choice.warnings.push_back(
            "Could not find a folder for your projects: neither XDG_DATA_HOME nor HOME names "
            "a full path." +
            readOnlyNote);
        return choice;
    }

    const SeedReport report = seedAppFolder(skeleton, user, programs);
    std::error_code ignored;
    if (!fs::is_directory(user, ignored)) {
        choice.folder = readable;
        choice.kind = AppFolderChoice::Kind::ReadOnly;
        choice.warnings.push_back(report.problems.front() + readOnlyNote);
        return choice;
    }
    choice.folder = user;
    choice.kind = AppFolderChoice::Kind::PerUser;
    if (const std::error_code error = folderWriteError(user)) {
        // A folder made earlier in a home that is read-only now: its projects still open.
        choice.warnings.push_back("Could not write in " + quoted(user) + ": " + reasonText(error) +
                                  ". Your projects can be opened, but changes cannot be saved.");
        return choice;
    }
    addProblems(report.problems, choice.warnings);
    return choice;
}

}  // namespace korvex::store
