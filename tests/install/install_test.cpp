// The installed program: `cmake --install` into a temporary prefix, then the real korvex5 and
// korvex-gen started from there, as a user of the installed copy starts them.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <system_error>

#include "tests/common/test_files.h"

namespace {
namespace fs = std::filesystem;
using korvex::testing::readBytes;
using korvex::testing::TempFolder;

struct Finished {
    int status = -1;
    std::string out;
};

// Runs a shell command and gathers its standard output.
Finished runCommand(const std::string& command) {
    Finished result;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) {
        result.out.append(buffer, n);
    }
    const int status = pclose(pipe.release());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quoted(const fs::path& path) {
    return std::string("'") + path.string() + "'";
}

bool haveTool(const char* tool) {
    return runCommand(std::string("command -v ") + tool + " >/dev/null 2>&1").status == 0;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        const Finished install =
            runCommand(quoted(KORVEX_CMAKE) + " --install " + quoted(KORVEX_BUILD_DIR) +
                       " --prefix " + quoted(prefix()) + " >/dev/null");
        ASSERT_EQ(install.status, 0);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    static fs::path prefix() { return folder_->path() / "prefix"; }
    static fs::path skeleton() { return prefix() / "share/korvex5"; }

    // Starts the installed korvex5 offscreen until its start-up is done. Its standard error goes
    // to `errors`.
    Finished startKorvex5(const fs::path& dataHome, const fs::path& errors) const {
        return runCommand(std::string("QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=") +
                          quoted(dataHome) + " " + quoted(prefix() / "bin/korvex5") +
                          " --quit-after-start 2>" + quoted(errors));
    }

    TempFolder data_;

private:
    static TempFolder* folder_;
};

TempFolder* Installed::folder_ = nullptr;

TEST_F(Installed, EveryPartIsInItsPlace) {
    const char* programs[] = {"bin/korvex5", "bin/korvex-gen", "lib/korvex5/qz",
                              "share/korvex5/Extra/Notepad2.exe"};
    for (const char* program : programs) {
        EXPECT_EQ(fs::status(prefix() / program).permissions() & fs::perms::owner_exec,
                  fs::perms::owner_exec)
            << program;
    }
    const char* files[] = {
        "share/korvex5/Examples/Welcome.ini",
        "share/korvex5/Extra/Help.html",
        "share/korvex5/Extra/Setting.ini",
        "share/applications/org.example.korvex5.desktop",
        "share/metainfo/org.example.korvex5.metainfo.xml",
        "share/icons/hicolor/scalable/apps/org.example.korvex5.svg",
        "share/icons/hicolor/48x48/apps/org.example.korvex5.png",
        "share/icons/hicolor/128x128/apps/org.example.korvex5.png",
        "share/icons/hicolor/256x256/apps/org.example.korvex5.png",
        "share/man/man1/korvex-gen.1.gz",
        "share/man/man1/korvex5.1.gz",
        "share/doc/korvex5/copyright",
        "share/doc/korvex5/changelog.gz",
    };
    for (const char* file : files) {
        EXPECT_GT(fs::file_size(prefix() / file), 0u) << file;
    }
}

TEST_F(Installed, FirstStartMakesTheUsersFolderAndLaterStartsKeepItsFiles) {
    const fs::path user = data_.path() / "Korvex5";
    const fs::path errors = data_.path() / "errors.txt";
    const Finished first = startKorvex5(data_.path(), errors);
    ASSERT_EQ(first.status, 0) << readBytes(errors);
    EXPECT_EQ(first.out, std::string("Application folder: ") + user.string() + "\n");
    for (const char* folder : {"Projects", "Temp", "Exported"}) {
        EXPECT_TRUE(fs::is_directory(user / folder)) << folder;
    }
    for (const auto& entry : fs::recursive_directory_iterator(skeleton())) {
        if (entry.is_regular_file()) {
            const fs::path relative = fs::relative(entry.path(), skeleton());
            EXPECT_EQ(readBytes(user / relative), readBytes(entry.path())) << relative;
        }
    }
    // The runtime template, kept with the programs, is where runtime creation looks for it.
    EXPECT_EQ(readBytes(user / "Extra/qz"), readBytes(prefix() / "lib/korvex5/qz"));

    data_.write("Korvex5/Projects/Mine.ini", "{my|own} script\r\n");
    data_.write("Korvex5/Extra/Setting.ini", "dnask = 1\r\n");
    fs::remove(user / "Examples/Poem.ini");
    const Finished second = startKorvex5(data_.path(), errors);
    ASSERT_EQ(second.status, 0) << readBytes(errors);
    EXPECT_EQ(readBytes(user / "Projects/Mine.ini"), "{my|own} script\r\n");
    EXPECT_EQ(readBytes(user / "Extra/Setting.ini"), "dnask = 1\r\n");
    EXPECT_EQ(readBytes(user / "Examples/Poem.ini"), readBytes(skeleton() / "Examples/Poem.ini"));
}

TEST_F(Installed, AUsersFolderThatCannotBeMadeIsNamedAndTheProgramStillStarts) {
    const fs::path notAFolder = data_.write("data", "a file where the data folder should be");
    const fs::path errors = data_.path() / "errors.txt";
    const Finished start = startKorvex5(notAFolder, errors);
    ASSERT_EQ(start.status, 0) << readBytes(errors);
    EXPECT_EQ(start.out, std::string("Application folder: ") + skeleton().string() + "\n");
    const std::string warning =
        std::string("korvex5: Could not create \"") + (notAFolder / "Korvex5").string() +
        "\": " + std::make_error_code(std::errc::not_a_directory).message() + ".";
    EXPECT_NE(readBytes(errors).find(warning), std::string::npos) << readBytes(errors);
}

TEST_F(Installed, KorvexGenRunsFromThePrefix) {
    const Finished text = runCommand(quoted(prefix() / "bin/korvex-gen") + " --seed 1 " +
                                     quoted(skeleton() / "Examples/Welcome.ini"));
    EXPECT_EQ(text.status, 0);
    EXPECT_FALSE(text.out.empty());
    EXPECT_EQ(runCommand(quoted(prefix() / "bin/korvex-gen") + " --seed 1 " +
                         quoted(skeleton() / "Examples/Welcome.ini"))
                  .out,
              text.out);
}

TEST_F(Installed, DesktopEntryAndMetainfoPassTheirValidators) {
    struct Check {
        const char* tool;
        const char* command;
        const char* file;
    };
    const Check checks[] = {
        {"desktop-file-validate", "desktop-file-validate",
         "share/applications/org.example.korvex5.desktop"},
        {"appstreamcli", "appstreamcli validate --no-net --pedantic",
         "share/metainfo/org.example.korvex5.metainfo.xml"},
    };
    int ran = 0;
    for (const Check& check : checks) {
        if (!haveTool(check.tool)) {
            continue;
        }
        ++ran;
        const Finished result =
            runCommand(std::string(check.command) + " " + quoted(prefix() / check.file) + " 2>&1");
        EXPECT_EQ(result.status, 0) << check.file << ":\n" << result.out;
        // desktop-file-validate passes with hints; we want none.
        EXPECT_EQ(result.out.find("hint:"), std::string::npos) << result.out;
    }
    if (ran == 0) {
        GTEST_SKIP() << "neither desktop-file-validate nor appstreamcli is installed";
    }
}

}  // namespace
