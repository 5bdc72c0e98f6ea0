// Extra/Notepad2.exe, the external-editor launcher, as the build installs it: which editor it
// picks, that a path with spaces reaches the editor as one argument, and what it says when it
// finds none. Stand-in editors record their arguments; the environment holds nothing else.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kLauncher = KORVEX_LAUNCHER;

std::string quoted(const std::string& text) {
    std::string result(1, '\'');
    for (char c : text) {
        if (c == '\'') {
            result.append("'\\''");
        } else {
            result.push_back(c);
        }
    }
    result.push_back('\'');
    return result;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// A scratch folder with a `bin` folder of stand-in programs, removed at the end.
class Sandbox {
public:
    Sandbox() {
        std::string pattern = (fs::temp_directory_path() / "korvex-launcher-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a scratch folder");
        }
        root_ = pattern;
        fs::create_directory(bin());
    }
    ~Sandbox() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    fs::path bin() const { return root_ / "bin"; }
    fs::path record() const { return root_ / "called.txt"; }
    fs::path errors() const { return root_ / "stderr.txt"; }
    fs::path file() const { return root_ / "my project.ini"; }

    /// A program `name` in `bin` that writes its name and its arguments, one a line, to the
    /// record file and exits with `status`.
    void addProgram(const std::string& name, int status) const {
        const fs::path program = bin() / name;
        std::ofstream(program) << "#!/bin/sh\nprintf '%s\\n' \"${0##*/}\" \"$@\" > \"$RECORD\"\n"
                               << "exit " << status << "\n";
        fs::permissions(program, fs::perms::owner_all);
    }

    /// Runs the launcher on `args` with only PATH=bin, RECORD and the given VISUAL set; its
    /// exit status.
    int run(const std::optional<std::string>& visual, const std::vector<std::string>& args) const {
        // Built with append: operator+ on a literal trips a false -Wrestrict in GCC 12.
        std::string command = "env -i PATH=";
        command.append(quoted(bin().string())).append(" RECORD=").append(quoted(record().string()));
        if (visual) {
            command.append(" VISUAL=").append(quoted(*visual));
        }
        command.append(" ").append(quoted(kLauncher.string()));
        for (const auto& arg : args) {
            command.append(" ").append(quoted(arg));
        }
        command.append(" </dev/null 2>").append(quoted(errors().string()));
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    fs::path root_;
};

TEST(Launcher, IsInstalledExecutable) {
    struct stat info {};
    ASSERT_EQ(stat(kLauncher.c_str(), &info), 0) << kLauncher;
    EXPECT_TRUE(info.st_mode & S_IXUSR);
}

struct Case {
    const char* name;
    std::vector<std::pair<std::string, int>> programs;  ///< stand-ins in PATH, exit status
    std::optional<std::string> visual;                  ///< "$BIN/" is replaced by the folder
    std::string expectedCall;                           ///< name and arguments, one a line
};

class LauncherChoice : public ::testing::TestWithParam<Case> {};

TEST_P(LauncherChoice, OpensTheFileInTheRightEditor) {
    const Case& c = GetParam();
    Sandbox box;
    for (const auto& [name, status] : c.programs) {
        box.addProgram(name, status);
    }
    std::optional<std::string> visual = c.visual;
    if (visual && visual->starts_with("$BIN/")) {
        visual = (box.bin() / visual->substr(5)).string();
    }
    EXPECT_EQ(box.run(visual, {box.file().string()}), 0) << readFile(box.errors());
    std::string expected = c.expectedCall;
    const auto at = expected.find("FILE");
    expected.replace(at, 4, box.file().string());
    EXPECT_EQ(readFile(box.record()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Launcher, LauncherChoice,
    ::testing::Values(
        Case{"VisualFirst",
             {{"myedit", 0}, {"xdg-open", 0}, {"gedit", 0}},
             "myedit",
             "myedit\nFILE\n"},
        Case{"VisualWithOptions",
             {{"myedit", 0}},
             "$BIN/myedit --new-window",
             "myedit\n--new-window\nFILE\n"},
        Case{"DesktopChoiceWithoutVisual",
             {{"xdg-open", 0}, {"gedit", 0}},
             std::nullopt,
             "xdg-open\nFILE\n"},
        Case{"EditorWhenTheDesktopHasNoHandler",
             {{"xdg-open", 3}, {"mousepad", 0}},
             std::nullopt,
             "mousepad\nFILE\n"},
        Case{"EditorWhenVisualCannotRun", {{"kate", 0}}, "no-such-editor", "kate\nFILE\n"},
        Case{"EditorWithoutDesktopTools", {{"featherpad", 0}}, std::nullopt, "featherpad\nFILE\n"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Launcher, SaysSoWhenNoEditorExists) {
    Sandbox box;
    EXPECT_NE(box.run(std::nullopt, {box.file().string()}), 0);
    const std::string errors = readFile(box.errors());
    EXPECT_NE(errors.find("no text editor found"), std::string::npos) << errors;
    EXPECT_NE(errors.find(box.file().string()), std::string::npos) << errors;
}

TEST(Launcher, RefusesAnythingButOneFile) {
    Sandbox box;
    box.addProgram("gedit", 0);
    EXPECT_NE(box.run(std::nullopt, {}), 0);
    EXPECT_NE(box.run(std::nullopt, {"a", "b"}), 0);
    EXPECT_FALSE(fs::exists(box.record()));
    EXPECT_FALSE(readFile(box.errors()).empty());
}

}  // namespace
