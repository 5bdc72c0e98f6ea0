// The folder writer of --out: every file whole or not at all, nothing replaced unless asked,
// and the files before a failure kept; by rename and by hard link alike.

#include "batch/folder_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/common/test_files.h"

namespace korvex::testing {
namespace {

namespace fs = std::filesystem;
using batch::FolderWriter;
using batch::FolderWriterOptions;

// Every name in the folder, temporary files included.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FolderWriterTest : public ::testing::TestWithParam<bool> {
protected:
    FolderWriterOptions options(bool replace = false) const {
        FolderWriterOptions o;
        o.chunkFiles = 3;
        o.byLinking = GetParam();
        o.replace = replace;
        return o;
    }
    TempFolder temp;
    fs::path folder = temp.path() / "out";
};

TEST_P(FolderWriterTest, FilesArriveAChunkAtATimeAndNothingElseIsLeft) {
    {
        FolderWriter writer(folder, options());
        ASSERT_FALSE(writer.open());
        for (int i = 1; i <= 4; ++i) {
            ASSERT_FALSE(writer.add(std::to_string(i) + ".txt", "text " + std::to_string(i)));
        }
        EXPECT_EQ(writer.placed(), 3u);  // the first chunk; the fourth file waits
        ASSERT_FALSE(writer.flush());
        EXPECT_EQ(writer.placed(), 4u);
        ASSERT_FALSE(writer.add("5.txt", "never placed"));
    }  // dropped without a flush: the fifth file is removed
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"1.txt", "2.txt", "3.txt", "4.txt"}));
    EXPECT_EQ(readBytes(folder / "4.txt"), "text 4");
}

TEST_P(FolderWriterTest, AFileThatAppearedIsLeftAloneAndTheFilesBeforeItStay) {
    FolderWriter writer(folder, options());
    ASSERT_FALSE(writer.open());
    ASSERT_FALSE(writer.add("a.txt", "a"));
    ASSERT_FALSE(writer.add("b.txt", "b"));
    writeBytes(folder / "b.txt", "mine");  // after the look, before the rename
    const FolderWriter::Failure failure = writer.add("c.txt", "c");
    EXPECT_EQ(failure.error, std::errc::file_exists);
    EXPECT_EQ(failure.file, folder / "b.txt");
    EXPECT_EQ(readBytes(folder / "b.txt"), "mine");
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(writer.placed(), 1u);
}

TEST_P(FolderWriterTest, ReplacingKeepsTheModeFollowsLinksAndRefusesWhatASaveRefuses) {
    fs::create_directories(folder / "folder.txt");
    writeBytes(folder / "old.txt", "old");
    fs::permissions(folder / "old.txt", fs::perms::owner_read | fs::perms::owner_write);
    writeBytes(folder / "locked.txt", "locked");
    fs::permissions(folder / "locked.txt", fs::perms::owner_read);
    writeBytes(temp.path() / "pointee.txt", "pointee");
    fs::create_symlink(temp.path() / "pointee.txt", folder / "link.txt");

    FolderWriter writer(folder, options(true));
    ASSERT_FALSE(writer.open());
    ASSERT_FALSE(writer.add("old.txt", "new"));
    ASSERT_FALSE(writer.add("link.txt", "through the link"));
    EXPECT_EQ(writer.add("locked.txt", "x").error, std::errc::permission_denied);
    EXPECT_EQ(writer.add("folder.txt", "x").error, std::errc::is_a_directory);
    ASSERT_FALSE(writer.flush());
    EXPECT_EQ(readBytes(folder / "old.txt"), "new");
    EXPECT_EQ(fs::status(folder / "old.txt").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readBytes(temp.path() / "pointee.txt"), "through the link");
    EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
    EXPECT_EQ(readBytes(folder / "locked.txt"), "locked");
    EXPECT_EQ(namesIn(folder),
              (std::vector<std::string>{"folder.txt", "link.txt", "locked.txt", "old.txt"}));
}

TEST_P(FolderWriterTest, AFolderThatCannotBeMadeIsReported) {
    writeBytes(temp.path() / "file", "in the way");
    FolderWriter writer(temp.path() / "file" / "out", options());
    const FolderWriter::Failure failure = writer.open();
    EXPECT_TRUE(failure);
    EXPECT_EQ(failure.file, temp.path() / "file" / "out");
}

INSTANTIATE_TEST_SUITE_P(RenameAndLink, FolderWriterTest, ::testing::Values(false, true));

}  // namespace
}  // namespace korvex::testing
