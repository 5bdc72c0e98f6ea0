// The facade: paths and jumps, the runtime's differences, the limits that keep a generation
// finite, and the working files written from the record.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "engine/generate.h"
#include "golden_case.h"
#include "scripted_host.h"

namespace korvex::testing {
namespace {

using engine::GenerationResult;
using engine::Options;

GenerationResult generateIn(const TempFolder& app, std::string_view projectPath,
                            Options options = {}, ScriptedHost* hostIn = nullptr) {
    ScriptedHost localHost;
    ScriptedHost& host = hostIn ? *hostIn : localHost;
    options.appFolder = app.path();
    engine::Random random(1);
    return engine::generate(projectPath, options, host, random);
}

TEST(Generate, MissingScriptGivesAnEmptyText) {
    TempFolder app;
    const auto result = generateIn(app, "Projects\\Nothing");
    EXPECT_EQ(result.text, "");
    EXPECT_EQ(result.alternativeCount, 0);
    EXPECT_EQ(result.variantCount.decimal(), "1");
    EXPECT_FALSE(result.caption);
    EXPECT_TRUE(result.warnings.empty());
}

TEST(Generate, JumpsStayInTheProjectFolder) {
    TempFolder app;
    app.write("Examples/Start.ini", "\\if\\ 0 = Next\r\nstart\r\n");
    app.write("Examples/Next.ini", "next {a}\r\n");
    app.write("Projects/Next.ini", "wrong folder\r\n");
    ScriptedHost host;
    const auto result = generateIn(app, "Examples\\Start", {}, &host);
    EXPECT_EQ(result.text, "nexta");
    EXPECT_EQ(result.caption, "Next");
    EXPECT_EQ(result.projectPath, "Examples\\Next");
    EXPECT_EQ(host.jumps, std::vector<std::string>{"Examples\\Next -> Next"});
}

TEST(Generate, JumpFolderAndScriptFileForTheCommandLine) {
    TempFolder app;
    const auto script = app.write("scripts/first.txt", "\\if\\ 0 = second\r\n");
    app.write("scripts/second.ini", "reached\r\n");
    Options options;
    options.scriptFile = script;
    options.jumpFolder = script.parent_path();
    const auto result = generateIn(app, script.string(), options);
    EXPECT_EQ(result.text, "reached");
    EXPECT_EQ(result.caption, "second");
}

TEST(Generate, ScriptTextInMemoryStandsForTheFileAndJumpsReadTheirTargets) {
    TempFolder app;
    app.write("Projects/Draft.ini", "as last saved\r\n");
    app.write("Projects/Next.ini", "next {a}\r\n");
    for (const auto& [text, expected] :
         {std::pair{"typed {x}\r\n", "typedx"}, std::pair{"\\if\\ 0 = Next\r\n", "nexta"}}) {
        Options options;
        options.scriptText = text;
        EXPECT_EQ(generateIn(app, "Projects\\Draft", options).text, expected) << text;
    }
}

TEST(Generate, RuntimeReadsItsOwnScriptAgainAfterAJump) {
    TempFolder app;
    const auto qz = app.write("qz", "\\if\\ 0 = Other\r\nmine {x|y}\r\n");
    app.write("Other.ini", "other\r\n");
    Options options;
    options.scriptFile = qz;
    options.runtime = true;
    const auto result = generateIn(app, "qz", options);
    EXPECT_TRUE(result.text == "minex" || result.text == "miney") << result.text;
    EXPECT_EQ(result.caption, "Other");
    EXPECT_EQ(result.alternativeCount, 0);  // the runtime keeps no counts
    EXPECT_EQ(result.variantCount.decimal(), "1");
    EXPECT_FALSE(result.record.createsBlockZero);
}

TEST(Generate, EndlessJumpsStopWithAWarning) {
    TempFolder app;
    app.write("Projects/A.ini", "\\rnd\\ 1\r\n\\if\\ 1 = B\r\na\r\n");
    app.write("Projects/B.ini", "\\rnd\\ 1\r\n\\if\\ 1 = A\r\nb\r\n");
    ScriptedHost host;
    const auto result = generateIn(app, "Projects\\A", {}, &host);
    EXPECT_EQ(host.jumps.size(), 1000u);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].kind, engine::WarningKind::JumpLimit);
    EXPECT_EQ(result.warnings[0].text,
              "Jumps stopped after 1000: the scripts kept jumping to one another, so the last one "
              "was generated as it is.");
    EXPECT_EQ(result.text, "a");  // the thousandth jump went back to A, which then stayed
}

TEST(Generate, RuntimeJumpLimitSpeaksOfItsOneScript) {
    TempFolder app;
    // Whatever the target, the runtime reads its own script again, which jumps again.
    const auto qz = app.write("qz", "\\rnd\\ 1\r\n\\if\\ 1 = Other\r\nmine\r\n");
    Options options;
    options.scriptFile = qz;
    options.runtime = true;
    options.maxJumps = 3;
    ScriptedHost host;
    const auto result = generateIn(app, "qz", options, &host);
    EXPECT_EQ(host.jumps.size(), 3u);
    EXPECT_EQ(result.text, "mine");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].kind, engine::WarningKind::JumpLimit);
    EXPECT_EQ(result.warnings[0].text,
              "Jumps stopped after 3: the script kept jumping to itself, so it was generated as "
              "it is.");
}

TEST(Generate, TextThatWouldExplodeIsCutWithAWarning) {
    TempFolder app;
    // Each variable doubles the references to the next: 2^60 copies if nothing stopped it.
    std::string script;
    for (int i = 0; i < 60; ++i) {
        script += "\\v v" + std::to_string(i) + " = \\v" + std::to_string(i + 1) + "\\\\v" +
                  std::to_string(i + 1) + "\\\r\n";
    }
    script += "start \\v0\\\r\n";
    app.write("Projects/Boom.ini", script);
    Options options;
    options.maxTextBytes = 1 << 20;
    const auto result = generateIn(app, "Projects\\Boom", options);
    EXPECT_LE(result.text.size(), options.maxTextBytes);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].kind, engine::WarningKind::TextLimit);
    EXPECT_EQ(result.warnings[0].text,
              "The text reached the size limit of 1 MiB, so part of it was left out.");
}

TEST(Generate, AnIncludeTooLargeLeavesOutOnlyItself) {
    TempFolder app;
    // A terabyte that takes no room on the disk: reading it would never end in time.
    std::filesystem::resize_file(app.write("huge.txt", ""), std::uintmax_t{1} << 40);
    app.write("small.txt", "tail");
    app.write("Projects/Inc.ini", "S\r\n\\inc\\ huge.txt\r\nend\r\n\\inc\\ small.txt\r\n");
    Options options;
    options.maxTextBytes = 1 << 10;
    const auto result = generateIn(app, "Projects\\Inc", options);
    EXPECT_EQ(result.text, "Sendtail\r\n");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].kind, engine::WarningKind::TextLimit);
}

TEST(Generate, AScriptTooLargeForMemoryReadsAsEmptyWithAWarning) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer ends the program where the allocation would throw";
#endif
    TempFolder app;
    std::filesystem::resize_file(app.write("Projects/Huge.ini", ""), std::uintmax_t{1} << 40);
    const auto result = generateIn(app, "Projects\\Huge");
    EXPECT_EQ(result.text, "");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].kind, engine::WarningKind::ScriptLimit);
}

TEST(Generate, IncludesOnlyRegularFiles) {
    TempFolder app;
    std::filesystem::create_directories(app.path() / "folder");
    ASSERT_EQ(::mkfifo((app.path() / "pipe").c_str(), 0600), 0);  // reading it would wait forever
    app.write("Projects/Inc.ini", "a\r\n\\inc\\ folder\r\n\\inc\\ pipe\r\nb\r\n");
    EXPECT_EQ(generateIn(app, "Projects\\Inc").text, "ab");
}

TEST(Generate, ManyTextLinesAndBlocksBeyondSixteenBits) {
    TempFolder app;
    std::string script;
    for (int i = 0; i < 40'000; ++i) {
        script += "t\r\n";
    }
    script += "{z}\r\n";
    app.write("Projects/Long.ini", script);
    const auto result = generateIn(app, "Projects\\Long");
    EXPECT_EQ(result.text, std::string(40'000, 't') + "z");
}

TEST(Generate, BlocksBeyondNinetyNineCountButCannotBeNamed) {
    TempFolder app;
    std::string script;
    for (int i = 0; i < 120; ++i) {
        script += "{a|a}\r\n\\^\\\r\n";
    }
    script += "[\\i99\\,\\i100\\]\r\n";
    app.write("Projects/Many.ini", script);
    const auto result = generateIn(app, "Projects\\Many");
    EXPECT_EQ(result.variantCount.decimal(), "1329227995784915872903807060280344576");  // 2^120
    EXPECT_EQ(result.alternativeCount, 240);
    EXPECT_TRUE(result.text.ends_with("[a,\\i100\\]"))
        << result.text.substr(result.text.size() - 20);
}

// A generator that runs one script after another gives what a fresh generation gives: nothing
// of an earlier generation (answers, variables, blocks, warnings, text) leaks into a later one.
TEST(Generate, AGeneratorCarriesNothingFromOneGenerationToTheNext) {
    TempFolder app;
    std::string big;
    for (int i = 0; i < 300; ++i) {
        big += "{a|b|c}\\^\\\r\n";
    }
    app.write("Projects/Big.ini", big + "\\inp\\3_Q_who\r\n\\v x = y\r\n\\who\\\\x\\\\i0\\\r\n");
    app.write("Projects/Small.ini", "\\who\\\\x\\{d}\r\n");
    app.write("Projects/Jump.ini", "\\if\\ 0 = Small\r\n");
    app.write("Projects/Cut.ini", "{\\i0\\\\i0\\\\i0\\}\\i0\\\\i0\\\r\n");
    Options options;
    options.appFolder = app.path();
    options.maxTextBytes = 1 << 12;
    ScriptedHost reusedHost({"Ann", "Bob", "Cy"});
    engine::Random reusedRandom(5);
    engine::Generator generator(options, reusedHost, reusedRandom);
    engine::Random freshRandom(5);
    ScriptedHost freshHost({"Ann", "Bob", "Cy"});
    for (const char* project : {"Projects\\Big", "Projects\\Small", "Projects\\Cut",
                                "Projects\\Jump", "Projects\\Big", "Projects\\Small"}) {
        const auto fresh = engine::generate(project, options, freshHost, freshRandom);
        const auto& reused = generator.generate(project);
        EXPECT_EQ(reused.text, fresh.text) << project;
        EXPECT_EQ(reused.alternativeCount, fresh.alternativeCount) << project;
        EXPECT_EQ(reused.variantCount.decimal(), fresh.variantCount.decimal()) << project;
        EXPECT_EQ(reused.caption, fresh.caption) << project;
        EXPECT_EQ(reused.projectPath, fresh.projectPath) << project;
        EXPECT_EQ(reused.warnings, fresh.warnings) << project;
        EXPECT_EQ(reused.record.workingFile(), fresh.record.workingFile()) << project;
        EXPECT_EQ(reused.record.altLines, fresh.record.altLines) << project;
    }
    EXPECT_EQ(reusedHost.prompts, freshHost.prompts);
}

// The working files hold exactly the script after the reading pass and one file per block.
TEST(WorkingFiles, HoldTheRecordOfTheLastPass) {
    TempFolder app;
    app.write("Projects/Letter.ini",
              "! greeting\r\nDear\\s\\{Sir|Madam},\r\n\\b\\\r\n    thank you\r\n    thanks\r\n");
    app.write("Temp/77.txt", "stale");
    app.write("Temp/notes.dat", "stale");
    std::filesystem::create_directories(app.path() / "Temp" / "keep");
    const auto result = generateIn(app, "Projects\\Letter");
    const auto written = engine::writeWorkingFiles(result.record, app.path());
    ASSERT_TRUE(written) << written.message();

    EXPECT_EQ(readBytes(app.path() / "Temp.txt"),
              "Dear\\s\\\r\n[.dot4.]Sir\r\n[.dot4.]Madam\r\n,\r\n\\b\\\r\n[.dot4.]thank you\r\n"
              "[.dot4.]thanks\r\n");
    EXPECT_EQ(readBytes(app.path() / "Temp/0.txt"), "");
    EXPECT_EQ(readBytes(app.path() / "Temp/1.txt"), "[.dot4.]Sir\r\n[.dot4.]Madam\r\n");
    EXPECT_EQ(readBytes(app.path() / "Temp/3.txt"), "[.dot4.]thank you\r\n[.dot4.]thanks\r\n");
    EXPECT_FALSE(std::filesystem::exists(app.path() / "Temp/2.txt"));
    EXPECT_FALSE(std::filesystem::exists(app.path() / "Temp/77.txt"));
    EXPECT_FALSE(std::filesystem::exists(app.path() / "Temp/notes.dat"));
    EXPECT_TRUE(std::filesystem::is_directory(app.path() / "Temp/keep"));
}

TEST(WorkingFiles, KeepEveryCharacter) {
    TempFolder app;
    app.write("Projects/Plain.ini", "caf\xC3\xA9\r\n");              // fits windows-1252
    app.write("Projects/Wide.ini", "caf\xC3\xA9 \xE2\x98\xBA\r\n");  // does not
    std::filesystem::create_directories(app.path() / "Temp");

    ASSERT_TRUE(engine::writeWorkingFiles(generateIn(app, "Projects\\Plain").record, app.path()));
    EXPECT_EQ(readBytes(app.path() / "Temp.txt"), "caf\xE9\r\n");
    ASSERT_TRUE(engine::writeWorkingFiles(generateIn(app, "Projects\\Wide").record, app.path()));
    EXPECT_EQ(readBytes(app.path() / "Temp.txt"), "caf\xC3\xA9 \xE2\x98\xBA\r\n");
}

// Stopped half-way (the program ends), the write leaves no Temp.txt beside the blocks it
// managed, so nothing stands for a whole record.
TEST(WorkingFiles, AStoppedWriteLeavesNoWorkingFile) {
    TempFolder app;
    app.write("Projects/P.ini",
              "a\r\n    x\r\n    y\r\nb\r\n    x\r\n    y\r\nc\r\n    x\r\n    y\r\n");
    std::filesystem::create_directories(app.path() / "Temp");
    const auto record = generateIn(app, "Projects\\P").record;
    int asked = 0;
    const auto written =
        engine::writeWorkingFiles(record, app.path(), false, [&] { return ++asked > 2; });
    EXPECT_TRUE(written) << written.message();
    EXPECT_FALSE(std::filesystem::exists(app.path() / "Temp.txt"));
    EXPECT_TRUE(std::filesystem::exists(app.path() / "Temp/1.txt"));
    EXPECT_FALSE(std::filesystem::exists(app.path() / "Temp/2.txt"));
}

TEST(WorkingFiles, FailuresNameTheFileAndTheReasonAndNeverTouchTheText) {
    TempFolder app;
    app.write("Projects/P.ini", "{a}\r\n");
    const auto result = generateIn(app, "Projects\\P");  // no Temp folder at all
    EXPECT_EQ(result.text, "a");
    const auto temp = app.path() / "Temp";
    const auto workingFile = app.path() / "Temp.txt";
    const struct {
        std::string name;
        std::function<void()> prepare;
        bool createTempFolder;
        std::string message;
    } cases[] = {
        {"no Temp folder", [] {}, false,
         "Could not write \"" + (temp / "0.txt").string() + "\": No such file or directory."},
        {"a file where the Temp folder goes", [&] { app.write("Temp", "in the way"); }, true,
         "Could not write \"" + (temp / "0.txt").string() + "\": Not a directory."},
        // The full device takes the bytes into its buffer and refuses them when they are
        // flushed: the delayed failure must be reported too.
        {"a full disk",
         [&] {
             std::filesystem::remove(workingFile);
             std::filesystem::create_symlink("/dev/full", workingFile);
         },
         true, "Could not write \"" + workingFile.string() + "\": No space left on device."},
        {"a folder where the working file goes",
         [&] {
             std::filesystem::remove(workingFile);
             std::filesystem::create_directories(workingFile);
         },
         true, "Could not write \"" + workingFile.string() + "\": Is a directory."},
    };
    for (const auto& c : cases) {
        c.prepare();
        const auto written =
            engine::writeWorkingFiles(result.record, app.path(), c.createTempFolder);
        EXPECT_FALSE(written) << c.name;
        EXPECT_EQ(written.message(), c.message) << c.name;
        std::error_code ignored;
        std::filesystem::remove_all(temp, ignored);
    }
}

}  // namespace
}  // namespace korvex::testing
