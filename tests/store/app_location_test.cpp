#include "store/app_location.h"

#include <gtest/gtest.h>

#include "tests/store/temp_folder.h"

namespace korvex::store {
namespace {
namespace fs = std::filesystem;
using testing::readBytes;
using testing::reason;
using testing::TempFolder;

TEST(AppLocation, PerUserFolderFollowsTheXdgRules) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/data", "/home/ann", "/data/Korvex5"},
        {"", "/home/ann", "/home/ann/.local/share/Korvex5"},
        // A relative XDG_DATA_HOME is to be ignored.
        {"data", "/home/ann", "/home/ann/.local/share/Korvex5"},
        {"", "", ""},
        {"data", "home", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(perUserFolder({c.xdg, c.home}), fs::path(c.expected)) << c.xdg << " " << c.home;
    }
}

// An installation under a temporary prefix: bin/ without the skeleton, share/korvex5 with it,
// and a data home for the per-user folder.
struct Installation {
    TempFolder temp;
    fs::path bin = temp.path() / "bin";
    fs::path skeleton = temp.path() / "share/korvex5";
    fs::path dataHome = temp.path() / "data";
    fs::path user = dataHome / "Korvex5";

    Installation() {
        fs::create_directories(bin);
        temp.write("share/korvex5/Examples/Welcome.ini", "{Hello|Hi} world\r\n");
        temp.write("share/korvex5/Extra/Setting.ini", "dnask = 0\r\n");
        temp.write("share/korvex5/Extra/Help.html", "<p>help</p>");
        temp.write("share/korvex5/Extra/Help/start.png", "picture 2");
        temp.write((installedPrograms(skeleton) / "qz").lexically_relative(temp.path()).string(),
                   "runtime 2");
        temp.write("share/korvex5/Extra/Notepad2.exe", "#!/bin/sh\n");
        fs::permissions(skeleton / "Extra/Notepad2.exe", fs::perms(0755));
    }
    AppFolderChoice start() const {
        return chooseAppFolder(bin, bin / "../share/korvex5", {dataHome.string(), ""});
    }
};

TEST(AppLocation, AWritableProgramFolderWithTheSkeletonIsTheApplicationFolder) {
    Installation install;
    const AppFolderChoice choice = chooseAppFolder(install.skeleton, install.temp.path() / "none",
                                                   {install.dataHome.string(), ""});
    EXPECT_EQ(choice.kind, AppFolderChoice::Kind::Portable);
    EXPECT_EQ(choice.folder, install.skeleton);
    EXPECT_TRUE(choice.warnings.empty());
    EXPECT_FALSE(fs::exists(install.user));
}

TEST(AppLocation, FirstStartMakesThePerUserFolderFromTheSkeleton) {
    Installation install;
    const AppFolderChoice choice = install.start();
    EXPECT_EQ(choice.kind, AppFolderChoice::Kind::PerUser);
    EXPECT_EQ(choice.folder, install.user);
    EXPECT_TRUE(choice.warnings.empty()) << choice.warnings.front();
    for (const char* folder : {"Projects", "Temp", "Exported", "Examples", "Extra"}) {
        EXPECT_TRUE(fs::is_directory(install.user / folder)) << folder;
    }
    for (const char* file :
         {"Examples/Welcome.ini", "Extra/Setting.ini", "Extra/Help.html", "Extra/Notepad2.exe"}) {
        EXPECT_EQ(readBytes(install.user / file), readBytes(install.skeleton / file)) << file;
    }
    EXPECT_EQ(readBytes(install.user / "Extra/qz"), "runtime 2");  // from the programs' folder
    // The launcher must stay a program.
    EXPECT_EQ(fs::status(install.user / "Extra/Notepad2.exe").permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);
}

TEST(AppLocation, LaterStartsAddMissingFilesAndKeepTheUsers) {
    Installation install;
    install.start();
    const std::pair<const char*, const char*> usersFiles[] = {
        {"Projects/Mine.ini", "my script"},     {"Extra/Setting.ini", "dnask = 1\r\n"},
        {"Extra/Last.dat", "\"Mine\"\r\n"},     {"Extra/Wrap.ini", "1\r\n"},
        {"Examples/Welcome.ini", "edited\r\n"},
    };
    for (const auto& [file, bytes] : usersFiles) {
        install.temp.write(std::string("data/Korvex5/") + file, bytes);
    }
    fs::remove(install.user / "Extra/Help.html");
    install.temp.write("data/Korvex5/Extra/qz", "runtime 1");  // left by an older version
    install.temp.write("data/Korvex5/Extra/Help/start.png", "picture 1");

    const SeedReport report =
        seedAppFolder(install.skeleton, install.user, installedPrograms(install.skeleton));
    EXPECT_TRUE(report.problems.empty());
    EXPECT_EQ(report.copied, 1);
    EXPECT_EQ(report.replaced, 2);
    for (const auto& [file, bytes] : usersFiles) {
        EXPECT_EQ(readBytes(install.user / file), bytes) << file;
    }
    EXPECT_EQ(readBytes(install.user / "Extra/Help.html"), "<p>help</p>");
    EXPECT_EQ(readBytes(install.user / "Extra/qz"), "runtime 2");
    EXPECT_EQ(readBytes(install.user / "Extra/Help/start.png"), "picture 2");
}

TEST(AppLocation, AFolderThatCannotBeMadeLeavesTheSkeletonToReadWithAWarning) {
    Installation install;
    install.temp.write("data", "a file where the data folder should be");
    const AppFolderChoice choice = install.start();
    EXPECT_EQ(choice.kind, AppFolderChoice::Kind::ReadOnly);
    EXPECT_EQ(choice.folder, install.skeleton);
    ASSERT_EQ(choice.warnings.size(), 1u);
    EXPECT_EQ(choice.warnings[0],
              "Could not create \"" + install.user.string() +
                  "\": " + reason(std::errc::not_a_directory) + ". Korvex5 opens the files in \"" +
                  install.skeleton.string() + "\" instead, where nothing can be saved.");
}

TEST(AppLocation, FilesThatCannotBeCopiedAreNamedAndTheFolderIsStillUsed) {
    Installation install;
    install.temp.write("data/Korvex5/Extra", "a file where a folder should be");
    const AppFolderChoice choice = install.start();
    EXPECT_EQ(choice.kind, AppFolderChoice::Kind::PerUser);
    EXPECT_EQ(choice.folder, install.user);
    EXPECT_EQ(readBytes(install.user / "Examples/Welcome.ini"), "{Hello|Hi} world\r\n");
    ASSERT_EQ(choice.warnings.size(), 1u);
    // The folder, its Help folder and its five files: three problems named, the rest counted.
    const std::string& warning = choice.warnings[0];
    const std::string notADirectory = reason(std::errc::not_a_directory);
    EXPECT_TRUE(warning.starts_with("Could not create \"" + (install.user / "Extra").string() +
                                    "\": " + notADirectory + ".\nCould not write \"" +
                                    (install.user / "Extra").string() + "/"))
        << warning;
    EXPECT_TRUE(warning.ends_with(".\n4 more files or folders could not be prepared either."))
        << warning;
}

TEST(AppLocation, AMissingSkeletonIsReportedAndTheFoldersAreStillMade) {
    Installation install;
    fs::remove_all(install.skeleton);
    const AppFolderChoice choice = install.start();
    EXPECT_EQ(choice.kind, AppFolderChoice::Kind::PerUser);
    ASSERT_EQ(choice.warnings.size(), 1u);
    EXPECT_NE(choice.warnings[0].find("Could not find the examples, the help and the settings"),
              std::string::npos);
    EXPECT_TRUE(fs::is_directory(install.user / "Projects"));
}

}  // namespace
}  // namespace korvex::store
