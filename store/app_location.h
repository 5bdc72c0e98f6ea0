#pragma once
// Where the application folder is. A portable copy (the build folder, a copy on a stick) keeps
// everything beside its executable. An installed copy cannot write there, so each user gets a
// folder of their own under the XDG data folder, made from the installed skeleton on the first
// start and completed on later starts without touching what the user changed.

#include <filesystem>
#include <string>
#include <vector>

namespace korvex::store {

/// The name of the per-user folder under the XDG data folder.
inline constexpr std::string_view kPerUserFolderName = "Korvex5";

/// The environment values the per-user folder is found from.
struct UserDataHome {
    std::string xdgDataHome;  ///< $XDG_DATA_HOME, empty when unset
    std::string home;         ///< $HOME, empty when unset

    /// Both values read from the process's environment.
    static UserDataHome fromEnvironment();
};

/// $XDG_DATA_HOME/Korvex5, or $HOME/.local/share/Korvex5 when XDG_DATA_HOME is unset, empty or
/// relative (which the XDG rules say to ignore); empty when neither gives an absolute folder.
std::filesystem::path perUserFolder(const UserDataHome& home);

/// True when `folder` holds the parts of the skeleton a copy needs: `Examples` and `Extra`.
bool holdsSkeleton(const std::filesystem::path& folder);

/// True when the program may create files in `folder` (permissions, read-only mounts).
bool isWritableFolder(const std::filesystem::path& folder);

/// What seeding a folder did and what went wrong.
struct SeedReport {
    int copied = 0;    ///< skeleton files added because they were missing
    int replaced = 0;  ///< program files brought up to date (see kProgramFiles)
    /// Each a message fit to show the user, naming the file or folder and the system's reason.
    std::vector<std::string> problems;
};

/// Files of the skeleton that belong to the program, not to the user: a copy that differs from
/// the installed one (left by an older version) is replaced. Every other file is the user's
/// once copied (an edited example, the settings) and is never overwritten. The help's pictures
/// (Extra/Help/) are program files too.
inline constexpr std::string_view kProgramFiles[] = {"Extra/qz", "Extra/Help.html"};

/// Programs an installation keeps with the other programs (lib/korvex5), not with the data of
/// the skeleton: each becomes Extra/<name> of the per-user folder, where runtime creation
/// finds the template qz.
inline constexpr std::string_view kInstalledPrograms[] = {"qz"};

/// Where an installation keeps kInstalledPrograms, found from its skeleton (share/korvex5) as
/// the build laid them out, so any prefix works.
std::filesystem::path installedPrograms(const std::filesystem::path& installedSkeleton);

/// Makes `target` a complete application folder: creates it and its folders (Projects, Temp,
/// Exported, Examples, Extra), copies every file of the skeleton's `Examples` and `Extra` that
/// `target` lacks, keeping the file's permissions, and updates the program files. Nothing the
/// user made or changed is overwritten: projects, settings, Last.dat and Wrap.ini stay as they
/// are. Each file of kInstalledPrograms in `programs`, when given, becomes Extra/<name>. Each
/// file is written whole or not at all; a failure is reported and the rest goes on.
SeedReport seedAppFolder(const std::filesystem::path& skeleton, const std::filesystem::path& target,
                         const std::filesystem::path& programs = {});

/// Which application folder the program uses, and why.
struct AppFolderChoice {
    enum class Kind {
        Portable,  ///< the folder holding the executable
        PerUser,   ///< the user's own folder, seeded from the skeleton
        ReadOnly,  ///< the per-user folder could not be made: the skeleton itself, for reading
    };
    std::filesystem::path folder;
    Kind kind = Kind::Portable;
    /// Messages to show at start, each naming the folder or file and the reason.
    std::vector<std::string> warnings;
};

/// Chooses and prepares the application folder. `programFolder` holds the executable;
/// `installedSkeleton` is where an installation keeps the skeleton (share/korvex5). The
/// program folder is used when it holds the skeleton and is writable; otherwise the per-user
/// folder, seeded from the installed skeleton and installedPrograms() (or from the program
/// folder when only that holds a skeleton). When the per-user folder cannot be made, the skeleton
/// folder is used as it is, so the program still starts and opens what it can read, and a warning
/// says why.
AppFolderChoice chooseAppFolder(const std::filesystem::path& programFolder,
                                const std::filesystem::path& installedSkeleton,
                                const UserDataHome& home);

}  // namespace korvex::store
