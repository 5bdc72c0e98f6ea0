#pragma once
// The application folder and the fixed places under it. Paths in the program's own texts use
// backslashes ("Projects\Letter"); on disk every backslash is a folder separator.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::store {

/// The two project folders; the one in force is the current project folder.
enum class ProjectFolder { Projects, Examples };

/// "Projects" or "Examples".
std::string_view folderName(ProjectFolder folder);

/// The folder named by `name`, matched without regard to case (the folder names come from a
/// file the user can edit); std::nullopt for any other text.
std::optional<ProjectFolder> parseProjectFolder(std::string_view name);

/// The project path of the program's texts: folder name, backslash, project name
/// ("Projects\Letter").
std::string projectPath(ProjectFolder folder, std::string_view name);

/// A file name's extension for projects.
inline constexpr std::string_view kProjectExtension = ".ini";

class AppFolder {
public:
    /// `root` is the folder that holds the running program.
    explicit AppFolder(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& root() const { return root_; }

    std::filesystem::path projects() const { return root_ / "Projects"; }
    std::filesystem::path examples() const { return root_ / "Examples"; }
    std::filesystem::path extra() const { return root_ / "Extra"; }
    std::filesystem::path temp() const { return root_ / "Temp"; }
    std::filesystem::path compiled() const { return root_ / "Compiled"; }
    std::filesystem::path exported() const { return root_ / "Exported"; }

    std::filesystem::path settingFile() const { return extra() / "Setting.ini"; }
    std::filesystem::path lastProjectFile() const { return extra() / "Last.dat"; }
    std::filesystem::path wrapFile() const { return extra() / "Wrap.ini"; }
    std::filesystem::path highlightFile() const { return extra() / "Highlight.ini"; }
    std::filesystem::path previewFile() const { return extra() / "Preview.ini"; }
    std::filesystem::path helpFile() const { return extra() / "Help.html"; }
    std::filesystem::path externalEditor() const { return extra() / "Notepad2.exe"; }
    std::filesystem::path runtimeTemplate() const { return extra() / "qz"; }
    /// The working file `Temp.txt`.
    std::filesystem::path workingFile() const { return root_ / "Temp.txt"; }

    /// `Projects` or `Examples`.
    std::filesystem::path folder(ProjectFolder folder) const;

    /// The file of project `name`: <root>/<folder>/<name>.ini; std::nullopt when `name` is
    /// not a plain project name (isPlainProjectName), so no name leads out of its folder.
    std::optional<std::filesystem::path> projectFile(ProjectFolder folder,
                                                     std::string_view name) const;

    /// A path relative to the application folder written with backslashes (or slashes), such
    /// as "Projects\Letter.ini", as a path on disk. Empty pieces are dropped, so a leading
    /// backslash still means "under the application folder". std::nullopt when a piece is "."
    /// or ".." or the text holds a NUL: the path stays under the application folder.
    std::optional<std::filesystem::path> resolve(std::string_view relative) const;

private:
    std::filesystem::path root_;
};

}  // namespace korvex::store
