// The one-line records: the last-project record, the word-wrap state and the highlighting
// choice.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/highlighting.h"
#include "store/last_project.h"
#include "store/record_fields.h"
#include "store/word_wrap.h"
#include "tests/store/temp_folder.h"

namespace korvex::store {
namespace {

using testing::readBytes;
using testing::reason;
using testing::TempFolder;
using testing::writeBytes;

TEST(RecordFields, ReadsQuotedAndPlainFields) {
    struct Case {
        std::string text;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases = {
        {R"("a","b","c")", {"a", "b", "c"}},
        {"a , b,c\r\n", {"a", "b", "c"}},
        {R"("say ""hi""",x)", {R"(say "hi")", "x", ""}},
        {R"("a, b" tail,"c")", {"a, b", "c", ""}},
        {"\"a\"\r\n\"b\"\n\"c\"", {"a", "b", "c"}},
        {"", {"", "", ""}},
        {"\"open", {"open", "", ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readRecordFields(c.text, 3), c.fields) << c.text;
    }
    EXPECT_EQ(quoteField(R"(say "hi")"), R"("say ""hi""")");
}

TEST(LastProject, LineIsThreeQuotedFields) {
    EXPECT_EQ(lastProjectLine("Letter", ProjectFolder::Projects),
              "\"Letter\",\"Projects\",\"Projects\\Letter.ini\"\r\n");
    EXPECT_EQ(lastProjectLine("My tale", ProjectFolder::Examples),
              "\"My tale\",\"Examples\",\"Examples\\My tale.ini\"\r\n");
}

TEST(LastProject, ParsingAcceptsOnlyARecordThatNamesAProject) {
    struct Case {
        std::string text;
        std::optional<std::string> name;  // std::nullopt: "not found"
        ProjectFolder folder = ProjectFolder::Projects;
    };
    const std::vector<Case> cases = {
        {"\"Letter\",\"Projects\",\"Projects\\Letter.ini\"\r\n", "Letter"},
        {"\"Tale\",\"Examples\",\"Examples\\Tale.ini\"", "Tale", ProjectFolder::Examples},
        {"Letter,Projects,Projects\\Letter.ini", "Letter"},
        {"\"Letter\",\"examples\"", "Letter", ProjectFolder::Examples},
        {"", std::nullopt},
        {"\r\n", std::nullopt},
        {"\"\",\"Projects\",\"Projects\\.ini\"", std::nullopt},
        {"garbage", std::nullopt},                          // no folder field
        {"\"Letter\",\"Temp\",\"x\"", std::nullopt},        // not a project folder
        {"\"..\\..\\x\",\"Projects\",\"\"", std::nullopt},  // would leave the folder
        {"\"a/b\",\"Projects\",\"\"", std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<LastProject> record = parseLastProject(c.text);
        ASSERT_EQ(record.has_value(), c.name.has_value()) << c.text;
        if (record) {
            EXPECT_EQ(record->name, *c.name);
            EXPECT_EQ(record->folder, c.folder);
        }
    }
}

TEST(LastProject, WrittenAndReadBack) {
    TempFolder folder;
    AppFolder app(folder.path());
    EXPECT_EQ(readLastProject(app), std::nullopt);  // no Extra folder
    std::filesystem::create_directories(app.extra());
    EXPECT_EQ(readLastProject(app), std::nullopt);  // no file
    writeBytes(app.lastProjectFile(), "");
    EXPECT_EQ(readLastProject(app), std::nullopt);

    ASSERT_TRUE(writeLastProject(app, "Letter", ProjectFolder::Projects));
    EXPECT_EQ(readBytes(app.lastProjectFile()),
              "\"Letter\",\"Projects\",\"Projects\\Letter.ini\"\r\n");

    // Rewritten whole; windows-1252 where the name fits, UTF-8 where it does not.
    ASSERT_TRUE(writeLastProject(app, "Caf\xC3\xA9", ProjectFolder::Examples));
    EXPECT_EQ(readBytes(app.lastProjectFile()),
              "\"Caf\xE9\",\"Examples\",\"Examples\\Caf\xE9.ini\"\r\n");
    for (const std::string name : {"Caf\xC3\xA9", "\xCE\xA9mega", "one, two"}) {
        ASSERT_TRUE(writeLastProject(app, name, ProjectFolder::Examples));
        std::optional<LastProject> record = readLastProject(app);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->name, name);
        EXPECT_EQ(record->folder, ProjectFolder::Examples);
        EXPECT_EQ(record->path, "Examples\\" + name + ".ini");
    }
}

TEST(LastProject, WriteFailureNamesTheFile) {
    TempFolder folder;
    AppFolder app(folder.path());
    Outcome missing = writeLastProject(app, "Letter", ProjectFolder::Projects);
    EXPECT_EQ(missing.message(), "Could not write \"" + app.lastProjectFile().string() +
                                     "\": " + reason(std::errc::no_such_file_or_directory) + ".");
    writeBytes(app.extra(), "");
    Outcome blocked = writeLastProject(app, "Letter", ProjectFolder::Projects);
    EXPECT_EQ(blocked.message(), "Could not write \"" + app.lastProjectFile().string() +
                                     "\": " + reason(std::errc::not_a_directory) + ".");
}

TEST(WordWrap, OnlyAFirstFieldOfOneWraps) {
    struct Case {
        std::string text;
        bool wrapped;
    };
    const std::vector<Case> cases = {
        {"1\r\n", true},   {"0\r\n", false}, {"1,0", true},  {"\"1\"", true},
        {" 1 \r\n", true}, {"yes", false},   {"", false},    {"10", false},
        {"2", false},      {"\r\n1", false}, {"0,1", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseWordWrap(c.text), c.wrapped) << c.text;
    }
}

TEST(WordWrap, WrittenAndReadBack) {
    TempFolder folder;
    AppFolder app(folder.path());
    EXPECT_FALSE(readWordWrap(app));
    EXPECT_EQ(writeWordWrap(app, true).message(),
              "Could not write \"" + app.wrapFile().string() +
                  "\": " + reason(std::errc::no_such_file_or_directory) + ".");
    std::filesystem::create_directories(app.extra());
    ASSERT_TRUE(writeWordWrap(app, true));
    EXPECT_EQ(readBytes(app.wrapFile()), "1\r\n");
    EXPECT_TRUE(readWordWrap(app));
    ASSERT_TRUE(writeWordWrap(app, false));
    EXPECT_EQ(readBytes(app.wrapFile()), "0\r\n");
    EXPECT_FALSE(readWordWrap(app));
}

TEST(Highlighting, OnUnlessSwitchedOffAndKept) {
    for (const auto& [text, on] : std::vector<std::pair<std::string, bool>>{
             {"0\r\n", false}, {"\"0\",1", false}, {"1\r\n", true}, {"", true}, {"off", true}}) {
        EXPECT_EQ(parseHighlighting(text), on) << text;
    }
    TempFolder folder;
    AppFolder app(folder.path());
    EXPECT_TRUE(readHighlighting(app));
    EXPECT_EQ(writeHighlighting(app, false).message(),
              "Could not write \"" + app.highlightFile().string() +
                  "\": " + reason(std::errc::no_such_file_or_directory) + ".");
    std::filesystem::create_directories(app.extra());
    ASSERT_TRUE(writeHighlighting(app, false));
    EXPECT_EQ(readBytes(app.highlightFile()), "0\r\n");
    EXPECT_FALSE(readHighlighting(app));
    ASSERT_TRUE(writeHighlighting(app, true));
    EXPECT_TRUE(readHighlighting(app));
}

}  // namespace
}  // namespace korvex::store
