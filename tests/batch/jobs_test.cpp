// korvex-gen -j and --first: texts made on several threads, and runs split in parts, give
// exactly the bytes of one thread and one run.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/korvex_gen.h"
#include "tests/common/test_files.h"

namespace korvex::testing {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
    std::map<std::string, std::string> files;  ///< every file the run wrote, by name

    bool operator==(const Outcome&) const = default;
};

// A run in `folder`, with `input` on standard input; what it wrote under `folder/w` is read
// back and removed, so the next run starts afresh.
Outcome run(const fs::path& folder, std::vector<std::string> args, const std::string& input) {
    for (std::string& arg : args) {
        if (arg.starts_with("w/")) {
            arg = (folder / arg).string();
        }
    }
    fs::create_directories(folder / "w");
    std::istringstream in(input);
    std::ostringstream out, err;
    Outcome outcome{cli::runKorvexGen(args, in, out, err), out.str(), err.str(), {}};
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "w", ec)) {
        if (entry.is_regular_file()) {
            outcome.files[fs::relative(entry.path(), folder).string()] = readBytes(entry.path());
        }
    }
    fs::remove_all(folder / "w", ec);
    return outcome;
}

// Texts that hardly repeat, a jump to a script that asks another question, and questions
// answered from standard input: which text reaches which question first decides the answers.
struct Scripts {
    TempFolder folder;
    std::string main;
    Scripts() {
        std::string script = "\\rnd\\ 3\r\n\\if\\ 1 = Other\r\n\\inp\\1_Name?_who\r\n\\who\\ \r\n";
        for (int b = 0; b < 12; ++b) {
            script += "{a|b|c|d}\r\n\\^\\\r\n";
        }
        main = folder.write("s.ini", script).string();
        folder.write("Other.ini", "\\inp\\1_Town?_who\r\nto \\who\\ {x|y|z} {p|q}\r\n");
    }
};

TEST(Jobs, ThreadsGiveTheBytesOfOneThreadInEveryMode) {
    Scripts s;
    const std::vector<std::string> seeds{"--seed", "5", "--text-seeds"};
    const std::vector<std::vector<std::string>> modes{
        {"-n", "700"},
        {"-n", "300", "-0", "--stats"},
        {"--unique", "400"},
        {"-n", "200", "--max-similarity", "70"},
        {"--unique", "300", "--max-similarity", "85", "--similarity"},
        {"-n", "150", "--out", "w/texts", "--name", "{n}-{seed}.txt"},
        {"-n", "300", "--csv", "w/t.csv", "--jsonl", "w/t.jsonl"},
        {"--unique", "200", "--csv", "w/t.csv"},
        {"-n", "40", "--work-dir", "w/work"},
    };
    for (const auto& mode : modes) {
        std::vector<std::string> args = seeds;
        args.insert(args.end(), mode.begin(), mode.end());
        args.push_back(s.main);
        const Outcome one = run(s.folder.path(), args, "Ann\nParis\n");
        EXPECT_EQ(one.status, 0) << one.err;
        EXPECT_FALSE(one.out.empty() && one.files.empty());
        for (const char* jobs : {"2", "3"}) {
            args.insert(args.begin(), {"-j", jobs});
            EXPECT_TRUE(run(s.folder.path(), args, "Ann\nParis\n") == one)
                << "-j " << jobs << " with " << mode[0] << " " << mode[1] << " " << mode.back();
            args.erase(args.begin(), args.begin() + 2);
        }
    }
}

TEST(Jobs, PartsOfARunJoinedAreTheWholeRun) {
    Scripts s;
    auto part = [&](const std::string& first, const std::string& count, const char* jobs) {
        return run(
            s.folder.path(),
            {"--seed", "8", "--text-seeds", "--answer", "Ann", "--answer", "Rome", "-j", jobs,
             "--first", first, "-n", count, "--csv", "w/t.csv", "--out", "w/texts", s.main},
            "");
    };
    const Outcome whole = part("1", "250", "1");
    ASSERT_EQ(whole.status, 0) << whole.err;
    Outcome joined{0, "", "", {}};
    for (const auto& [first, count, jobs] :
         {std::tuple{"1", "100", "2"}, {"101", "1", "1"}, {"102", "149", "3"}}) {
        Outcome shard = part(first, count, jobs);
        ASSERT_EQ(shard.status, 0) << shard.err;
        joined.files["w/t.csv"] += shard.files["w/t.csv"];
        shard.files.erase("w/t.csv");
        joined.files.merge(shard.files);
    }
    EXPECT_EQ(joined.files.size(), 251u);
    EXPECT_TRUE(joined == whole);
    // Standard output joins the same way.
    std::string texts;
    for (const auto& [first, count] : {std::pair{"1", "120"}, {"121", "130"}}) {
        texts += run(s.folder.path(),
                     {"--seed", "8", "--text-seeds", "--answer", "Ann", "--answer", "Rome", "-j",
                      "2", "--first", first, "-n", count, s.main},
                     "")
                     .out;
    }
    EXPECT_EQ(texts, run(s.folder.path(),
                         {"--seed", "8", "--text-seeds", "--answer", "Ann", "--answer", "Rome",
                          "-n", "250", s.main},
                         "")
                         .out);
}

}  // namespace
}  // namespace korvex::testing
