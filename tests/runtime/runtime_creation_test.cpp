#include "runtime/runtime_creation.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/common/test_files.h"

namespace fs = std::filesystem;
using korvex::runtime::createRuntime;
using korvex::store::AppFolder;
using korvex::testing::readBytes;
using korvex::testing::TempFolder;

namespace {

constexpr std::string_view kTemplate =
    "\x7f"
    "ELF runtime template";

/// An application folder with the runtime template (executable) and two projects.
struct App {
    TempFolder folder;
    AppFolder app{folder.path()};

    App() {
        folder.write("Extra/qz", kTemplate);
        fs::permissions(app.runtimeTemplate(), fs::perms(0755), fs::perm_options::replace);
        folder.write("Projects/Letter.ini", "Dear {Ann|Bob}\r\n");
        folder.write("Examples/Two words.ini", "Hello\r\n\\end\\\r\n");
    }
    /// The files of Compiled with their content.
    std::map<std::string, std::string> compiled() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(app.compiled())) {
            files[entry.path().filename().string()] =
                entry.is_directory() ? "<folder>" : readBytes(entry.path());
        }
        return files;
    }
};

}  // namespace

TEST(RuntimeCreation, SecondRuntimeReplacesTheFirstAndKeepsTheTemplatesPermissions) {
    App a;
    ASSERT_TRUE(createRuntime(a.app, "Letter", "Projects\\Letter"));
    EXPECT_EQ(a.compiled(),
              (std::map<std::string, std::string>{{"Letter.exe", std::string(kTemplate)},
                                                  {"qz", "Dear {Ann|Bob}\r\n"}}));
    fs::create_directories(a.app.compiled() / "kept");
    a.folder.write("Compiled/notes.txt", "stale");

    const korvex::store::Outcome second = createRuntime(a.app, "Two words", "Examples\\Two words");
    ASSERT_TRUE(second) << second.message();
    EXPECT_EQ(a.compiled(),
              (std::map<std::string, std::string>{{"Two words.exe", std::string(kTemplate)},
                                                  {"qz", "Hello\r\n\\end\\\r\n"},
                                                  {"kept", "<folder>"}}));
    EXPECT_EQ(fs::status(a.app.compiled() / "Two words.exe").permissions() & fs::perms::mask,
              fs::perms(0755));
}

TEST(RuntimeCreation, FailuresNameTheFileAndLeaveNoHalfRuntime) {
    struct Case {
        const char* name;
        std::function<void(App&)> breakIt;
        std::string title;
        std::string message;  // after the application folder's path
        bool previousKept;    // the last runtime is still whole
    };
    const std::string missing =
        std::make_error_code(std::errc::no_such_file_or_directory).message();
    const std::vector<Case> cases{
        {"no template", [](App& a) { fs::remove(a.app.runtimeTemplate()); }, "Letter",
         "/Extra/qz\": " + missing + ".", true},
        {"no script", [](App& a) { fs::remove(a.folder.path() / "Projects/Letter.ini"); }, "Letter",
         "/Projects/Letter.ini\": " + missing + ".", true},
        {"title only of forbidden characters", [](App&) {}, "<?>",
         "/Compiled/.exe\": Not a valid project name.", true},
        {"Compiled is a file",
         [](App& a) {
             fs::remove_all(a.app.compiled());
             a.folder.write("Compiled", "not a folder");
         },
         "Letter",
         "/Compiled\": " + std::make_error_code(std::errc::not_a_directory).message() + ".", false},
        {"the program's name is a folder",
         [](App& a) { fs::create_directories(a.app.compiled() / "Letter.exe"); }, "Letter",
         "/Compiled/Letter.exe\": " + std::make_error_code(std::errc::file_exists).message() + ".",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        App a;
        ASSERT_TRUE(createRuntime(a.app, "Two words", "Examples\\Two words"));
        c.breakIt(a);

        const korvex::store::Outcome outcome = createRuntime(a.app, c.title, "Projects\\Letter");
        ASSERT_FALSE(outcome);
        const std::string verb = c.message.starts_with("/Compiled") ? "write" : "read";
        EXPECT_EQ(outcome.message(),
                  "Could not " + verb + " \"" + a.folder.path().string() + c.message);
        if (c.previousKept) {
            EXPECT_EQ(a.compiled().size(), 2u);
            EXPECT_EQ(readBytes(a.app.compiled() / "qz"), "Hello\r\n\\end\\\r\n");
        } else if (fs::is_directory(a.app.compiled())) {
            // Neither the new program nor its script, nor a temporary copy of either.
            EXPECT_EQ(a.compiled(),
                      (std::map<std::string, std::string>{{"Letter.exe", "<folder>"}}));
        }
    }
}
