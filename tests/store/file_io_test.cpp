#include "store/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/store/temp_folder.h"

namespace korvex::store {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::reason;
using testing::TempFolder;
using testing::writeBytes;

std::string writeMessage(const fs::path& file, std::errc error) {
    return "Could not write \"" + file.string() + "\": " + reason(error) + ".";
}

int entryCount(const fs::path& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

TEST(AtomicWrite, CreatesAndReplacesWithoutLeavingATemporaryFile) {
    TempFolder folder;
    const fs::path file = folder.path() / "a.ini";
    ASSERT_TRUE(writeFileAtomically(file, "first\r\n"));
    EXPECT_EQ(readBytes(file), "first\r\n");
    ASSERT_TRUE(writeFileAtomically(file, std::string("\0\xFF", 2)));
    EXPECT_EQ(readBytes(file), std::string("\0\xFF", 2));
    ASSERT_TRUE(writeFileAtomically(file, ""));
    EXPECT_EQ(readBytes(file), "");
    EXPECT_EQ(entryCount(folder.path()), 1);
}

TEST(AtomicWrite, FailuresLeaveTheTargetAsItWas) {
    TempFolder folder;
    const fs::path missing = folder.path() / "missing" / "a.ini";
    EXPECT_EQ(writeFileAtomically(missing, "x").message(),
              writeMessage(missing, std::errc::no_such_file_or_directory));

    writeBytes(folder.path() / "plain", "a file where a folder should be");
    const fs::path underFile = folder.path() / "plain" / "a.ini";
    EXPECT_EQ(writeFileAtomically(underFile, "x").message(),
              writeMessage(underFile, std::errc::not_a_directory));

    const fs::path isFolder = folder.path() / "folder.ini";
    fs::create_directory(isFolder);
    EXPECT_EQ(writeFileAtomically(isFolder, "x").message(),
              writeMessage(isFolder, std::errc::is_a_directory));
    EXPECT_TRUE(fs::is_directory(isFolder));

    // Refused even where the system would allow it (tests run as root in CI).
    const fs::path readOnly = folder.path() / "kept.ini";
    writeBytes(readOnly, "kept");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(writeFileAtomically(readOnly, "lost").message(),
              writeMessage(readOnly, std::errc::permission_denied));
    EXPECT_EQ(readBytes(readOnly), "kept");

    // A pipe stays a pipe: the rename would put a plain file in its place.
    const fs::path pipe = folder.path() / "pipe.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(writeFileAtomically(pipe, "x").message(),
              writeMessage(pipe, std::errc::operation_not_supported));
    EXPECT_TRUE(fs::is_fifo(pipe));

    EXPECT_EQ(entryCount(folder.path()), 4);  // plain, folder.ini, kept.ini, pipe.ini only
}

// Lets the process write files of at most `bytes` bytes while it lives, so a write fails as
// on a full disk; the writer gets EFBIG instead of the signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

TEST(AtomicWrite, AFailedWriteKeepsTheOldContent) {
    TempFolder folder;
    const fs::path saved = folder.path() / "saved.ini";
    const fs::path fresh = folder.path() / "fresh.ini";
    writeBytes(saved, "old");
    const std::string big(std::size_t{64} * 1024, 'x');
    {
        FileSizeLimit limit(4096);
        EXPECT_EQ(writeFileAtomically(saved, big).message(),
                  writeMessage(saved, std::errc::file_too_large));
        EXPECT_EQ(createFileContent(fresh, big), std::errc::file_too_large);
    }
    EXPECT_EQ(readBytes(saved), "old");
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(entryCount(folder.path()), 1);  // no temporary left
    ASSERT_TRUE(writeFileAtomically(saved, big));
    EXPECT_EQ(readBytes(saved), big);
}

TEST(AtomicWrite, KeepsPermissionsAndFollowsLinks) {
    TempFolder folder;
    const fs::path file = folder.path() / "private.ini";
    writeBytes(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeFileAtomically(file, "new"));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const fs::path link = folder.path() / "link.ini";
    fs::create_symlink(file, link);
    ASSERT_TRUE(writeFileAtomically(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(file), "through the link");
}

TEST(NoReplaceRename, BothWaysLeaveAnExistingTargetAlone) {
    using Rename = std::error_code (*)(const fs::path&, const fs::path&);
    struct Case {
        const char* what;
        const char* target;  ///< content of the target beforehand; nullptr for none
        std::errc error;     ///< std::errc() for success
    };
    const std::vector<Case> cases = {
        {"free name", nullptr, std::errc()},
        {"existing file", "theirs", std::errc::file_exists},
        {"existing empty file", "", std::errc::file_exists},
    };
    for (Rename rename : {&renameWithoutReplacing, &renameByLinking}) {
        for (const Case& c : cases) {
            TempFolder folder;
            const fs::path from = folder.path() / "from.ini";
            const fs::path to = folder.path() / "to.ini";
            writeBytes(from, "mine");
            if (c.target) {
                writeBytes(to, c.target);
            }
            EXPECT_EQ(rename(from, to).value(), static_cast<int>(c.error)) << c.what;
            if (c.error == std::errc()) {
                EXPECT_FALSE(fs::exists(from)) << c.what;
                EXPECT_EQ(readBytes(to), "mine") << c.what;
            } else {
                EXPECT_EQ(readBytes(from), "mine") << c.what;
                EXPECT_EQ(readBytes(to), c.target) << c.what;
            }
            EXPECT_EQ(rename(folder.path() / "gone.ini", folder.path() / "new.ini"),
                      std::errc::no_such_file_or_directory);
            EXPECT_EQ(entryCount(folder.path()), c.target ? 2 : 1) << c.what;
        }
    }
}

TEST(CreateFile, NeverReplacesAndLeavesNothingBehind) {
    TempFolder folder;
    const fs::path file = folder.path() / "new.ini";
    ASSERT_EQ(createFileContent(file, "first"), std::error_code());
    EXPECT_EQ(createFileContent(file, "second"), std::errc::file_exists);
    EXPECT_EQ(readBytes(file), "first");
    EXPECT_EQ(createFileContent(file / "a.ini", "x"), std::errc::not_a_directory);
    EXPECT_EQ(entryCount(folder.path()), 1);  // no temporary left
}

TEST(TextFile, WritesWithTheCodecAndReadsBack) {
    TempFolder folder;
    const fs::path file = folder.path() / "t.ini";
    Encoding used = Encoding::Utf8;
    ASSERT_TRUE(writeTextFile(file, "caf\xC3\xA9\r\n", Encoding::Windows1252, false, &used));
    EXPECT_EQ(used, Encoding::Windows1252);
    EXPECT_EQ(readBytes(file), "caf\xE9\r\n");

    ASSERT_TRUE(writeTextFile(file, "\xCE\xA9\r\n", Encoding::Windows1252, false, &used));
    EXPECT_EQ(used, Encoding::Utf8);
    EXPECT_EQ(readBytes(file), "\xCE\xA9\r\n");

    ASSERT_TRUE(writeTextFile(file, "abc", Encoding::Utf8, true));
    std::optional<DecodedText> read = readDecodedText(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, "abc");
    EXPECT_EQ(read->encoding, Encoding::Utf8);
    EXPECT_TRUE(read->byteOrderMark);

    std::error_code error;
    EXPECT_EQ(readFileBytes(folder.path() / "none", &error), std::nullopt);
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_EQ(readFileBytes(folder.path(), &error), std::nullopt);
    EXPECT_EQ(error, std::errc::is_a_directory);
    const fs::path pipe = folder.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // opening it to read would wait for a writer
    EXPECT_EQ(readFileBytes(pipe, &error), std::nullopt);
    EXPECT_EQ(error, std::errc::operation_not_supported);
    EXPECT_EQ(readDecodedText(folder.path() / "none"), std::nullopt);
}

}  // namespace
}  // namespace korvex::store
