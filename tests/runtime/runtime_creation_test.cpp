#include "runtime/runtime_creation.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tests/common/test_files.h"

namespace fs = std::filesystem;
using korvex::runtime::createRuntime;
using korvex::testing::readBytes;
using Files = std::map<std::string, std::string>;

namespace {

const std::string kTemplate =
    "\x7f"
    "ELF runtime";

/// An application folder with an executable runtime template and two projects.
struct App {
    korvex::testing::TempFolder folder;
    korvex::store::AppFolder app{folder.path()};

    App() {
        folder.write("Extra/qz", kTemplate);
        fs::permissions(app.runtimeTemplate(), fs::perms(0755));
        folder.write("Projects/Letter.ini", "Dear {Ann|Bob}\r\n");
        folder.write("Examples/Two words.ini", "Hello\r\n");
    }
    /// Compiled's files with their content ("/" for a folder).
    Files compiled() const {
        Files files;
        for (const auto& entry : fs::directory_iterator(app.compiled())) {
            files[entry.path().filename().string()] =
                entry.is_directory() ? "/" : readBytes(entry.path());
        }
        return files;
    }
};

std::string reason(std::errc error) {
    return std::make_error_code(error).message();
}

}  // namespace

TEST(RuntimeCreation, TheSecondRuntimeReplacesTheFirstExecutableAsTheTemplate) {
    App a;
    ASSERT_TRUE(createRuntime(a.app, "Letter", "Projects\\Letter"));
    EXPECT_EQ(a.compiled(), (Files{{"Letter.exe", kTemplate}, {"qz", "Dear {Ann|Bob}\r\n"}}));
    fs::create_directories(a.app.compiled() / "kept");

    ASSERT_TRUE(createRuntime(a.app, "Two words", "Examples\\Two words"));
    EXPECT_EQ(a.compiled(),
              (Files{{"Two words.exe", kTemplate}, {"qz", "Hello\r\n"}, {"kept", "/"}}));
    EXPECT_EQ(fs::status(a.app.compiled() / "Two words.exe").permissions(), fs::perms(0755));
}

TEST(RuntimeCreation, AFailureNamesTheFileAndLeavesNoHalfRuntime) {
    const struct {
        const char* name;
        std::function<void(App&)> breakIt;
        std::string title;
        std::string message;  // after the application folder
        Files left;           // in Compiled afterwards
    } cases[] = {
        {"no template",
         [](App& a) { fs::remove(a.app.runtimeTemplate()); },
         "Letter",
         "read \"#/Extra/qz\": " + reason(std::errc::no_such_file_or_directory),
         {{"Two words.exe", kTemplate}, {"qz", "Hello\r\n"}}},
        {"title only of forbidden characters",
         [](App&) {},
         "<?>",
         "write \"#/Compiled/.exe\": Not a valid project name",
         {{"Two words.exe", kTemplate}, {"qz", "Hello\r\n"}}},
        {"the program's name taken by a folder",
         [](App& a) { fs::create_directories(a.app.compiled() / "Letter.exe"); },
         "Letter",
         "write \"#/Compiled/Letter.exe\": " + reason(std::errc::file_exists),
         {{"Letter.exe", "/"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        App a;
        ASSERT_TRUE(createRuntime(a.app, "Two words", "Examples\\Two words"));
        c.breakIt(a);
        const korvex::store::Outcome outcome = createRuntime(a.app, c.title, "Projects\\Letter");
        std::string expected = "Could not " + c.message + ".";
        expected.replace(expected.find('#'), 1, a.folder.path().string());
        EXPECT_EQ(outcome.message(), expected);
        EXPECT_EQ(a.compiled(), c.left);
    }
}
