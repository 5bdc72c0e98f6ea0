// The application folder, project lists and the project operations.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "store/app_folder.h"
#include "store/file_io.h"
#include "store/last_project.h"
#include "store/project_list.h"
#include "store/projects.h"
#include "tests/store/temp_folder.h"

namespace korvex::store {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::reason;
using testing::TempFolder;
using testing::writeBytes;
using Action = NameDecision::Action;
using Status = CreateResult::Status;

std::string quoted(const fs::path& path) {
    std::string text = "\"";
    text += path.string();
    text += '"';
    return text;
}

TEST(AppFolderPaths, FixedPlacesUnderTheApplicationFolder) {
    const fs::path root = "/opt/korvex";
    const AppFolder app(root);
    const std::vector<std::pair<std::optional<fs::path>, std::string>> cases = {
        {app.projects(), "Projects"},
        {app.examples(), "Examples"},
        {app.extra(), "Extra"},
        {app.temp(), "Temp"},
        {app.compiled(), "Compiled"},
        {app.exported(), "Exported"},
        {app.settingFile(), "Extra/Setting.ini"},
        {app.lastProjectFile(), "Extra/Last.dat"},
        {app.wrapFile(), "Extra/Wrap.ini"},
        {app.helpFile(), "Extra/Help.html"},
        {app.externalEditor(), "Extra/Notepad2.exe"},
        {app.runtimeTemplate(), "Extra/qz"},
        {app.workingFile(), "Temp.txt"},
        {app.projectFile(ProjectFolder::Examples, "My tale"), "Examples/My tale.ini"},
        {app.projectFile(ProjectFolder::Projects, "notes.txt"), "Projects/notes.txt.ini"},
        {app.resolve("Projects\\Letter.ini"), "Projects/Letter.ini"},
        {app.resolve("\\Temp\\0.txt"), "Temp/0.txt"},
    };
    for (const auto& [path, relative] : cases) {
        EXPECT_EQ(path, root / relative);
    }
    EXPECT_EQ(projectPath(ProjectFolder::Projects, "Letter"), "Projects\\Letter");
    EXPECT_EQ(projectPath(ProjectFolder::Examples, "Letter"), "Examples\\Letter");
    EXPECT_EQ(parseProjectFolder("Examples"), ProjectFolder::Examples);
    EXPECT_EQ(parseProjectFolder("PROJECTS"), ProjectFolder::Projects);
    EXPECT_EQ(parseProjectFolder("Temp"), std::nullopt);
}

TEST(ProjectList, DisplayNamesAndPattern) {
    struct Case {
        std::string fileName;
        std::string shown;
        bool matchesIni;
    };
    const std::vector<Case> cases = {
        {"Letter.ini", "Letter", true},    {"a.ini.b.ini", "a.b", true},   {"X.INI", "X.INI", true},
        {"notes.txt", "notes.txt", false}, {"a.ini.txt", "a.txt", false},  {".ini", "", true},
        {"x.i.inini", "x.ini", false},     {"Plan.Ini", "Plan.Ini", true}, {"ini", "ini", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(displayName(c.fileName), c.shown) << c.fileName;
        EXPECT_EQ(matchesIniPattern(c.fileName), c.matchesIni) << c.fileName;
    }
}

TEST(ProjectList, ListsFilesAlphabetically) {
    TempFolder folder;
    for (const char* name : {"b.ini", "A.ini", "c.INI", "notes.txt", "a.ini.b.ini", "B.ini"}) {
        writeBytes(folder.path() / name, "x");
    }
    fs::create_directory(folder.path() / "folder.ini");
    writeBytes(folder.path() / (std::string(kSaveTempPrefix) + "0123"), "interrupted save");

    EXPECT_EQ(listProjects(folder.path(), ListPattern::AllFiles),
              (std::vector<std::string>{"A", "a.b", "B", "b", "c.INI", "notes.txt"}));
    EXPECT_EQ(listProjects(folder.path(), ListPattern::IniFiles),
              (std::vector<std::string>{"A", "a.b", "B", "b", "c.INI"}));
    EXPECT_TRUE(listProjects(folder.path() / "missing", ListPattern::AllFiles).empty());
    EXPECT_TRUE(listProjects(folder.path() / "notes.txt", ListPattern::IniFiles).empty());
}

TEST(CreateProject, CleaningRemovesOnlyTheForbiddenCharacters) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a<b>c", "abc"},
        {"<>:\\/|*?\"", ""},
        {" my. long name ", " my. long name "},
        {"..\\..\\etc/passwd", "....etcpasswd"},
        {"Caf\xC3\xA9 | \xCE\xA9", "Caf\xC3\xA9  \xCE\xA9"},
        {std::string("ab\0cd", 5), "abcd"},
    };
    for (const auto& [typed, cleaned] : cases) {
        EXPECT_EQ(cleanProjectName(typed), cleaned) << typed;
        EXPECT_EQ(isPlainProjectName(typed), typed == cleaned && !typed.empty()) << typed;
        EXPECT_EQ(isPlainProjectName(cleaned), !cleaned.empty()) << typed;
    }
}

class ProjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(app.projects());
        fs::create_directories(app.examples());
    }
    fs::path file(std::string_view name, ProjectFolder in = ProjectFolder::Projects) const {
        return app.projectFile(in, name).value();
    }

    TempFolder folder;
    AppFolder app{folder.path()};
};

// Every file below `root` with its content.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        files[fs::relative(entry.path(), root).string()] =
            entry.is_regular_file() ? readBytes(entry.path()) : "(folder)";
    }
    return files;
}

TEST_F(ProjectsTest, EveryOperationRefusesANameThatIsNotAPlainProjectName) {
    fs::create_directories(app.extra());
    writeBytes(app.extra() / "Victim.ini", "victim");
    writeBytes(file("abc"), "script");
    writeBytes(app.projects() / "ab", "what a name cut at its NUL would hit");
    const std::map<std::string, std::string> before = snapshot(folder.path());

    const std::string refused = ": " + std::string(kNotAProjectName) + ".";
    const auto projects = ProjectFolder::Projects;
    using Check = std::function<bool(const std::string&)>;
    const std::vector<std::pair<std::string, Check>> operations = {
        {"projectFile", [&](const std::string& n) { return !app.projectFile(projects, n); }},
        {"projectHasContent",
         [&](const std::string& n) { return !projectHasContent(app, projects, n); }},
        {"rename to",
         [&](const std::string& n) {
             return renameProject(app, projects, "abc", n).message().ends_with(refused);
         }},
        {"rename from",
         [&](const std::string& n) {
             return renameProject(app, projects, n, "moved").message().ends_with(refused);
         }},
        {"copy to",
         [&](const std::string& n) {
             return copyProject(app, projects, "abc", n).message().ends_with(refused);
         }},
        {"copy from",
         [&](const std::string& n) {
             return copyProject(app, projects, n, "copied").message().ends_with(refused);
         }},
        {"delete",
         [&](const std::string& n) {
             return deleteProjects(app, projects, {n}).message().ends_with(refused);
         }},
        {"write last project",
         [&](const std::string& n) {
             return writeLastProject(app, n, projects).message().ends_with(refused);
         }},
        {"read last project",
         [&](const std::string& n) { return !parseLastProject(lastProjectLine(n, projects)); }},
        {"resolve",
         [&](const std::string& n) { return !app.resolve("Projects\\" + n + "\\..\\x"); }},
    };
    const std::vector<std::string> names = {
        "../Extra/Victim",
        "..\\Extra\\Victim",
        "/tmp/Victim",
        "a/b",
        std::string("ab\0cd", 5),
        "",
        "a:b",
        "what?",
    };
    for (const std::string& name : names) {
        const std::string shown = ::testing::PrintToString(name);
        for (const auto& [operation, check] : operations) {
            EXPECT_TRUE(check(name)) << operation << " with " << shown;
        }
        EXPECT_EQ(snapshot(folder.path()), before) << shown;
    }
    EXPECT_EQ(
        deleteProjects(app, projects, {"../Extra/Victim", std::string("ab\0cd", 5)}).message(),
        "Could not delete \"../Extra/Victim\"" + refused + "\nCould not delete \"ab\\0cd\"" +
            refused);
    for (const std::string& relative : std::vector<std::string>{
             "..\\Extra\\Victim.ini", ".\\Temp", "Temp\\..", std::string("Temp\\a\0b", 8)}) {
        EXPECT_EQ(app.resolve(relative), std::nullopt) << relative;
    }

    // Creating cleans the typed name instead, so the file lands in the project folder.
    for (const std::string& name : names) {
        const CreateResult result = createProject(app, projects, name, "d", "t");
        EXPECT_EQ(result.name, cleanProjectName(name));
        if (result.status == Status::Created) {
            EXPECT_TRUE(fs::exists(file(result.name))) << ::testing::PrintToString(name);
        }
    }
    EXPECT_EQ(readBytes(app.extra() / "Victim.ini"), "victim");
    EXPECT_EQ(listProjects(app.projects(), ListPattern::AllFiles),
              (std::vector<std::string>{"..ExtraVictim", "ab", "ab", "abc", "abcd", "tmpVictim",
                                        "what"}));
}

TEST_F(ProjectsTest, CreateWritesTheSixLines) {
    CreateResult result =
        createProject(app, ProjectFolder::Projects, "a<b>c", "01/02/2024", "13:45:00");
    EXPECT_EQ(result.status, Status::Created);
    EXPECT_EQ(result.name, "abc");
    EXPECT_EQ(readBytes(file("abc")),
              "\r\n! abc --- 01/02/2024  13:45:00\r\n\r\n\r\n! End abc\r\n\r\n");

    // windows-1252 where the name fits, UTF-8 where it does not: nothing is lost.
    createProject(app, ProjectFolder::Projects, "Caf\xC3\xA9", "d", "t");
    EXPECT_EQ(readBytes(file("Caf\xC3\xA9")),
              "\r\n! Caf\xE9 --- d  t\r\n\r\n\r\n! End Caf\xE9\r\n\r\n");
    createProject(app, ProjectFolder::Projects, "\xCE\xA9", "d", "t");
    EXPECT_EQ(readBytes(file("\xCE\xA9")),
              "\r\n! \xCE\xA9 --- d  t\r\n\r\n\r\n! End \xCE\xA9\r\n\r\n");

    EXPECT_EQ(createProject(app, ProjectFolder::Examples, "Tale", "d", "t").status,
              Status::Created);
    EXPECT_TRUE(fs::exists(file("Tale", ProjectFolder::Examples)));
    EXPECT_FALSE(fs::exists(file("Tale")));
}

TEST_F(ProjectsTest, CreateRefusesAnExistingProjectAndEmptyNames) {
    writeBytes(file("Taken"), "script");
    CreateResult taken = createProject(app, ProjectFolder::Projects, "Taken", "d", "t");
    EXPECT_EQ(taken.status, Status::AlreadyExists);
    EXPECT_EQ(taken.message, "This project already exist.");
    EXPECT_EQ(readBytes(file("Taken")), "script");

    writeBytes(file("Empty"), "");  // an empty file counts as absent
    EXPECT_EQ(createProject(app, ProjectFolder::Projects, "Empty", "d", "t").status,
              Status::Created);
    EXPECT_EQ(readBytes(file("Empty")), newProjectText("Empty", "d", "t"));

    for (const char* typed : {"", "<>", "?*:\"|/\\"}) {
        EXPECT_EQ(createProject(app, ProjectFolder::Projects, typed, "d", "t").status,
                  Status::NothingToDo);
    }
    EXPECT_FALSE(fs::exists(app.projects() / ".ini"));

    // Whatever is typed, the file lands in the project folder.
    createProject(app, ProjectFolder::Projects, "..\\..\\up", "d", "t");
    EXPECT_TRUE(fs::exists(file("....up")));
    EXPECT_EQ(listProjects(folder.path(), ListPattern::AllFiles), std::vector<std::string>{});
}

TEST_F(ProjectsTest, CreateReportsAFolderThatCannotHoldTheFile) {
    fs::remove(app.projects());
    CreateResult missing = createProject(app, ProjectFolder::Projects, "abc", "d", "t");
    EXPECT_EQ(missing.status, Status::Failed);
    EXPECT_EQ(missing.message, "Could not write \"" + file("abc").string() +
                                   "\": " + reason(std::errc::no_such_file_or_directory) + ".");
    writeBytes(app.projects(), "");
    CreateResult blocked = createProject(app, ProjectFolder::Projects, "abc", "d", "t");
    EXPECT_EQ(blocked.status, Status::Failed);
    EXPECT_EQ(blocked.message, "Could not write \"" + file("abc").string() +
                                   "\": " + reason(std::errc::not_a_directory) + ".");
}

TEST_F(ProjectsTest, NewNameDecisions) {
    writeBytes(file("abc"), "script");
    writeBytes(file("taken"), "other");
    writeBytes(file("empty"), "");
    writeBytes(app.projects() / "a:b.ini", "named elsewhere");
    struct Case {
        std::optional<std::string> answer;
        Action action;
        std::string name;
        std::string current = "abc";
    };
    const std::vector<Case> cases = {
        {std::nullopt, Action::Stop, ""},
        {"", Action::Stop, ""},
        {"<>", Action::Stop, ""},
        {"abc", Action::AskAgain, "abc"},
        {"ab?c", Action::AskAgain, "abc"},
        {"taken", Action::AlreadyExists, "taken"},
        {"empty", Action::Proceed, "empty"},
        {"free", Action::Proceed, "free"},
        {"../up", Action::Proceed, "..up"},
        // A project named outside the program: its name given back unchanged asks again
        // instead of renaming it to the cleaned name.
        {"a:b", Action::AskAgain, "a:b", "a:b"},
        {"a|:b", Action::Proceed, "ab", "a:b"},
        {"ab", Action::Proceed, "ab", "a:b"},
    };
    for (const Case& c : cases) {
        std::optional<std::string_view> answer;
        if (c.answer) {
            answer = *c.answer;
        }
        NameDecision decision = decideNewName(app, ProjectFolder::Projects, c.current, answer);
        EXPECT_EQ(decision.action, c.action) << c.answer.value_or("(cancel)");
        if (c.action != Action::Stop) {
            EXPECT_EQ(decision.name, c.name);
        }
    }
    // The folder in force decides: "taken" is free among the examples.
    EXPECT_EQ(decideNewName(app, ProjectFolder::Examples, "abc", "taken").action, Action::Proceed);
}

TEST_F(ProjectsTest, CaseOnlyRenameFollowsTheFileSystem) {
    writeBytes(file("abc"), "script");
    const bool caseSensitive = !fs::exists(file("ABC"));
    NameDecision decision = decideNewName(app, ProjectFolder::Projects, "abc", "ABC");
    if (!caseSensitive) {
        EXPECT_EQ(decision.action, Action::AlreadyExists);
        return;
    }
    ASSERT_EQ(decision.action, Action::Proceed);
    ASSERT_TRUE(renameProject(app, ProjectFolder::Projects, "abc", decision.name));
    EXPECT_EQ(listProjects(app.projects(), ListPattern::AllFiles), std::vector<std::string>{"ABC"});
    EXPECT_EQ(readBytes(file("ABC")), "script");
}

TEST_F(ProjectsTest, RenameAndCopy) {
    const std::string script = "\r\n! caf\xE9 {a|b}\r\n";  // windows-1252 bytes stay as they are
    writeBytes(file("abc"), script);
    writeBytes(file("taken"), "other");
    EXPECT_EQ(decideNewName(app, ProjectFolder::Projects, "abc", "taken").action,
              Action::AlreadyExists);
    ASSERT_EQ(decideNewName(app, ProjectFolder::Projects, "abc", "copy").action, Action::Proceed);
    ASSERT_TRUE(copyProject(app, ProjectFolder::Projects, "abc", "copy"));
    EXPECT_EQ(readBytes(file("copy")), script);
    EXPECT_EQ(readBytes(file("abc")), script);

    writeBytes(file("empty"), "");
    ASSERT_TRUE(renameProject(app, ProjectFolder::Projects, "abc", "empty"));
    EXPECT_FALSE(fs::exists(file("abc")));
    EXPECT_EQ(readBytes(file("empty")), script);
    EXPECT_EQ(listProjects(app.projects(), ListPattern::AllFiles),
              (std::vector<std::string>{"copy", "empty", "taken"}));

    // Examples: the same operations act on the example folder only.
    writeBytes(file("tale", ProjectFolder::Examples), "tale");
    ASSERT_TRUE(renameProject(app, ProjectFolder::Examples, "tale", "story"));
    ASSERT_TRUE(copyProject(app, ProjectFolder::Examples, "story", "again"));
    EXPECT_EQ(listProjects(app.examples(), ListPattern::AllFiles),
              (std::vector<std::string>{"again", "story"}));
}

TEST_F(ProjectsTest, RenameAndCopyReportFailures) {
    const std::string from = quoted(file("gone"));
    const std::string to = quoted(file("new"));
    const std::string missing = reason(std::errc::no_such_file_or_directory);
    EXPECT_EQ(renameProject(app, ProjectFolder::Projects, "gone", "new").message(),
              "Could not rename " + from + " to " + to + ": " + missing + ".");
    EXPECT_EQ(copyProject(app, ProjectFolder::Projects, "gone", "new").message(),
              "Could not copy " + from + " to " + to + ": " + missing + ".");

    writeBytes(file("abc"), "script");
    fs::create_directory(file("box"));
    EXPECT_EQ(copyProject(app, ProjectFolder::Projects, "abc", "box").message(),
              "Could not copy \"" + file("abc").string() + "\" to \"" + file("box").string() +
                  "\": " + reason(std::errc::is_a_directory) + ".");
    EXPECT_FALSE(renameProject(app, ProjectFolder::Projects, "abc", "box"));
    EXPECT_EQ(readBytes(file("abc")), "script");
}

TEST_F(ProjectsTest, RenameAndCopyNeverReplaceAProjectThatAppearedSinceTheDecision) {
    using Act = Outcome (*)(const AppFolder&, ProjectFolder, std::string_view, std::string_view);
    const std::vector<std::pair<Act, std::string>> acts = {
        {&renameProject, "Could not rename "},
        {&copyProject, "Could not copy "},
    };
    for (const auto& [act, verb] : acts) {
        writeBytes(file("abc"), "script");
        ASSERT_EQ(decideNewName(app, ProjectFolder::Projects, "abc", "late").action,
                  Action::Proceed);
        writeBytes(file("late"), "theirs");  // another program wins the race
        EXPECT_EQ(act(app, ProjectFolder::Projects, "abc", "late").message(),
                  verb + quoted(file("abc")) + " to " + quoted(file("late")) + ": " +
                      reason(std::errc::file_exists) + ".");
        EXPECT_EQ(readBytes(file("late")), "theirs");
        EXPECT_EQ(readBytes(file("abc")), "script");
        EXPECT_EQ(std::distance(fs::directory_iterator(app.projects()), {}), 2) << verb;
        fs::remove(file("late"));

        // An empty file still counts as absent and gives way.
        writeBytes(file("late"), "");
        ASSERT_TRUE(act(app, ProjectFolder::Projects, "abc", "late")) << verb;
        EXPECT_EQ(readBytes(file("late")), "script");
        fs::remove(file("late"));
    }
}

TEST_F(ProjectsTest, DeleteRemovesOnlyTheSelectedFiles) {
    for (const char* name : {"a", "b", "c"}) {
        writeBytes(file(name), "x");
    }
    writeBytes(file("a", ProjectFolder::Examples), "x");
    EXPECT_TRUE(deleteProjects(app, ProjectFolder::Projects, {"a", "c", "already gone"}));
    EXPECT_EQ(listProjects(app.projects(), ListPattern::AllFiles), std::vector<std::string>{"b"});
    EXPECT_TRUE(fs::exists(file("a", ProjectFolder::Examples)));

    fs::create_directory(file("box"));
    Outcome outcome = deleteProjects(app, ProjectFolder::Projects, {"box", "b"});
    EXPECT_EQ(outcome.message(), "Could not delete \"" + file("box").string() +
                                     "\": " + reason(std::errc::is_a_directory) + ".");
    EXPECT_TRUE(fs::is_directory(file("box")));
    EXPECT_FALSE(fs::exists(file("b")));
}

}  // namespace
}  // namespace korvex::store
