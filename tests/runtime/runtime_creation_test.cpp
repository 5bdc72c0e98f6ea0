#include "runtime/runtime_creation.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "engine/generate.h"
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

namespace {

/// Answers every question alike and gives one date and time, so two generations can agree.
struct SameAnswers : korvex::engine::Host {
    void showMessage(std::string_view) override {}
    std::optional<std::string> askInput(std::string_view) override { return "Ann"; }
    std::string dateText() override { return "17.05.2031"; }
    std::string timeText() override { return "08:15:42"; }
};

}  // namespace

// Every shipped example's runtime makes the text its project makes with the same seed, the
// included files with it. (After a jump the runtime reads its own script again, by design:
// those draws are left out.)
TEST(RuntimeCreation, EachExamplesRuntimeMakesTheProjectsText) {
    korvex::testing::TempFolder folder;
    fs::copy(KORVEX_APP_SOURCE_DIR, folder.path(), fs::copy_options::recursive);
    folder.write("Extra/qz", kTemplate);
    const korvex::store::AppFolder app(folder.path());
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(folder.path() / "Examples")) {
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ASSERT_TRUE(createRuntime(app, name, "Examples\\" + name));
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            SameAnswers host;
            korvex::engine::Options project;
            project.appFolder = folder.path();
            korvex::engine::Random projectRandom(seed);
            const auto made =
                korvex::engine::generate("Examples\\" + name, project, host, projectRandom);
            if (made.caption) {
                continue;
            }
            korvex::engine::Options runtime;
            runtime.appFolder = app.compiled();
            runtime.scriptFile = app.compiled() / "qz";
            runtime.runtime = true;
            korvex::engine::Random runtimeRandom(seed);
            EXPECT_EQ(korvex::engine::generate("qz", runtime, host, runtimeRandom).text, made.text)
                << "seed " << seed;
            ++compared;
        }
    }
    EXPECT_GT(compared, 100);
}

// Paths a runtime could not read beside itself are named; missing files are nobody's loss.
TEST(RuntimeCreation, IncludesThatCannotBeCarriedAreNamed) {
    App a;
    a.folder.write("Extra/Near.txt", "near");
    a.folder.write("Far.txt", "far");
    const std::string outside = (a.folder.path() / "Far.txt").string();
    const std::string climbing = "..\\" + a.folder.path().filename().string() + "\\Far.txt";
    a.folder.write("Projects/Inc.ini",
                   "\\inc\\ Extra\\Near.txt\r\n\\inc\\ Extra\\Near.txt\r\n"
                   "\\inc\\ " +
                       climbing + "\r\n\\inc\\ " + outside + "\r\n\\inc\\ Missing.txt\r\n");
    const auto includes = korvex::runtime::scriptIncludes(a.app, "Projects\\Inc");
    EXPECT_EQ(includes.carried, std::vector<std::string>{"Extra\\Near.txt"});
    EXPECT_EQ(includes.uncarried, (std::vector<std::string>{climbing, outside}));
    ASSERT_TRUE(createRuntime(a.app, "Inc", "Projects\\Inc"));
    EXPECT_EQ(readBytes(a.app.compiled() / "Extra" / "Near.txt"), "near");
}
