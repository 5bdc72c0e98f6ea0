// korvex-gen's batches: texts rebuilt alone, texts kept apart, names of files, and the records
// of the choices each text took.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "batch/name_pattern.h"
#include "batch/similarity.h"
#include "cli/korvex_gen.h"
#include "tests/common/test_files.h"

namespace korvex::testing {
namespace {

struct GenRun {
    int status;
    std::string out;
    std::string err;
};

GenRun korvexGen(const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    const int status = cli::runKorvexGen(args, in, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> split(const std::string& out, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = out.find(separator, start)) != std::string::npos; start = at + 1) {
        parts.push_back(out.substr(start, at - start));
    }
    return parts;
}

// Thirty blocks: texts that hardly ever repeat.
std::string manyChoices() {
    std::string script = "\\inp\\1_Name?_who\r\n\\who\\ \r\n";
    for (int b = 0; b < 30; ++b) {
        script += "{a|b|c|d}\r\n\\^\\\r\n";
    }
    return script;
}

TEST(Batch, OnlyRebuildsTheTextOfTheWholeRun) {
    TempFolder folder;
    const auto script = folder.write("s.ini", manyChoices()).string();
    const GenRun run =
        korvexGen({"--seed", "42", "--text-seeds", "--answer", "Ann", "-n", "12", "-0", script});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // the question was answered once, by the option
    const auto texts = split(run.out, '\0');
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_NE(texts[0], texts[1]);
    for (const std::size_t i : {1u, 2u, 7u, 12u}) {
        const GenRun one = korvexGen({"--seed", "42", "--text-seeds", "--answer", "Ann", "--only",
                                      std::to_string(i), script});
        EXPECT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(one.out, texts[i - 1]) << "text " << i;
        EXPECT_TRUE(one.out.starts_with("Ann")) << one.out;
    }
    // A longer run begins with the same texts; another seed gives others.
    EXPECT_EQ(
        korvexGen({"--seed", "42", "--text-seeds", "--answer", "Ann", "-n", "3", "-0", script}).out,
        texts[0] + '\0' + texts[1] + '\0' + texts[2] + '\0');
    EXPECT_NE(
        korvexGen({"--seed", "43", "--text-seeds", "--answer", "Ann", "--only", "1", script}).out,
        texts[0]);
}

TEST(Batch, MaxSimilarityKeepsNearCopiesApart) {
    TempFolder folder;
    // Eight near copies: the same twenty words and one of eight last words, so two different
    // ones share 17 of their 19 runs (89.5%).
    std::string script = "w1 w2 w3 w4 w5 w6 w7 w8 w9 w10 w11 w12 w13 w14 w15 w16 w17 w18 w19 w20";
    script += "\\s\\{e1|e2|e3|e4|e5|e6|e7|e8}\r\n";
    const auto path = folder.write("near.ini", script).string();

    const GenRun loose = korvexGen({"--seed", "1", "-n", "10", "--max-similarity", "90", path});
    EXPECT_EQ(loose.status, 3);  // fewer than asked for
    const auto kept = split(loose.out, '\n');
    EXPECT_EQ(kept.size(), 8u);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_LE(batch::similarity(kept[i], kept[j]), 0.90);
        }
    }
    EXPECT_EQ(loose.err,
              "korvex-gen: kept 8 of 1000 texts drawn; 992 were rejected as more than 90% like a "
              "text kept before (10 were asked for)\n");

    const GenRun strict = korvexGen({"--seed", "1", "-n", "3", "--max-similarity=89%", path});
    EXPECT_EQ(split(strict.out, '\n').size(), 1u);
    EXPECT_EQ(strict.err,
              "korvex-gen: kept 1 of 300 texts drawn; 299 were rejected as more than 89% like a "
              "text kept before (3 were asked for)\n");

    // Texts with seeds of their own are told apart without keeping them.
    const GenRun unique = korvexGen({"--seed", "2", "--text-seeds", "--unique", "9", path});
    auto different = split(unique.out, '\n');
    std::sort(different.begin(), different.end());
    EXPECT_EQ(std::unique(different.begin(), different.end()) - different.begin(), 8);
    EXPECT_EQ(unique.err,
              "korvex-gen: only 8 different texts came in 900 generations (9 were asked for)\n");

    const GenRun measured = korvexGen({"--seed", "1", "--unique", "8", "--similarity", path});
    EXPECT_EQ(measured.status, 0);
    EXPECT_NE(measured.err.find("Texts      : 8\nSimilarity : lowest 89.5%, average 89.5%, "
                                "highest 89.5%\n"),
              std::string::npos)
        << measured.err;
}

TEST(Batch, NamePatterns) {
    const struct {
        const char* pattern;
        bool seedPerText;
        const char* name;  ///< of text 7, seed 99, script "Letter"; nullptr: refused
    } cases[] = {
        {"{script}-{n:05}.txt", false, "Letter-00007.txt"},
        {"{n}", false, "7"},
        {"{n:03}_{seed}.txt", false, "007_99.txt"},
        {"{seed}.txt", true, "99.txt"},
        {"{{{n}}}.txt", false, "{7}.txt"},
        {"{seed}.txt", false, nullptr},  // every text would get the same name
        {"text.txt", false, nullptr},
        {"../{n}.txt", false, nullptr},
        {"sub/{n}.txt", false, nullptr},
        {"sub\\{n}.txt", false, nullptr},
        {"..{n}", false, nullptr},
        {"{n:0x}", false, nullptr},
        {"{count}", false, nullptr},
        {"{n", false, nullptr},
        {"{n}}", false, nullptr},
    };
    for (const auto& c : cases) {
        std::string problem;
        const auto pattern = batch::NamePattern::parse(c.pattern, c.seedPerText, problem);
        if (!c.name) {
            EXPECT_FALSE(pattern) << c.pattern;
            EXPECT_NE(problem, "") << c.pattern;
            continue;
        }
        ASSERT_TRUE(pattern) << c.pattern << ": " << problem;
        EXPECT_EQ(pattern->name(7, 99, "Letter"), c.name);
    }
    // A script's name can never lead out of the folder either.
    std::string problem;
    EXPECT_EQ(batch::NamePattern::parse("{script}{n}", false, problem)->name(1, 0, "a..\\b/c"),
              "a.bc1");
}

TEST(Batch, FilesAreNeverReplacedWithoutForce) {
    TempFolder folder;
    const auto script =
        folder.write("Caf\xC3\xA9.ini", "caf\xC3\xA9 {un|deux}\\b\\fin\r\n").string();
    const auto out = folder.path() / "out";
    const GenRun first = korvexGen({"--seed", "3", "-n", "3", "--out", out.string(), script});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "");
    const std::string text = readBytes(out / "Caf\xC3\xA9-00002.txt");
    // windows-1252 with CR LF, and a line break at the end as the text export writes it.
    EXPECT_TRUE(text.starts_with("caf\xE9")) << text;
    EXPECT_TRUE(text.ends_with("\r\nfin\r\n")) << text;

    std::filesystem::remove(out / "Caf\xC3\xA9-00001.txt");
    std::filesystem::remove(out / "Caf\xC3\xA9-00002.txt");
    writeBytes(out / "Caf\xC3\xA9-00003.txt", "mine");
    const GenRun refused = korvexGen({"--seed", "3", "-n", "3", "--out", out.string(), script});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "korvex-gen: \"" + (out / "Caf\xC3\xA9-00003.txt").string() +
                               "\" exists. Give --force to replace files that exist.\n");
    EXPECT_FALSE(std::filesystem::exists(out / "Caf\xC3\xA9-00001.txt"));  // nothing written
    EXPECT_EQ(readBytes(out / "Caf\xC3\xA9-00003.txt"), "mine");

    const GenRun forced =
        korvexGen({"--seed", "3", "-n", "3", "--force", "--out", out.string(), script});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_TRUE(readBytes(out / "Caf\xC3\xA9-00003.txt").starts_with("caf\xE9"));
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".korvex-save-"));
    }

    const GenRun outside =
        korvexGen({"-n", "2", "--out", out.string(), "--name", "../{n}", script});
    EXPECT_EQ(outside.status, 2);
    EXPECT_TRUE(
        outside.err.starts_with("korvex-gen: the name pattern may not hold a folder "
                                "separator"))
        << outside.err;
}

// The record of a text of the script below, made from the text itself: it starts with the
// pick of block 0, then the pick of block 1, then the colour.
std::string expectedCsv(std::size_t index, const std::string& draw, const std::string& seed,
                        const std::string& text) {
    const std::string first = text.starts_with("a") ? "1" : "2";
    const std::string second = text.find("\"d, e\"") != std::string::npos ? "2" : "1";
    const std::string colour = text.ends_with("red") ? "red" : "green";
    std::string field = text;
    if (text.find_first_of(",\"") != std::string::npos) {
        field = "\"";
        for (const char c : text) {
            field += c == '"' ? std::string("\"\"") : std::string(1, c);
        }
        field += '"';
    }
    return std::to_string(index) + "," + draw + "," + seed + "," + field + "," + first + "," +
           second + "," + colour;
}

TEST(Batch, RecordsNameTheChoicesOfEveryText) {
    TempFolder folder;
    const auto script =
        folder
            .write("two.ini",
                   "\\v colour = red|green\r\n{a|b}\r\n\\^\\\r\n{c|\"d, e\"}\\colour\\\r\n")
            .string();
    const auto csv = folder.path() / "two.csv";
    const auto jsonl = folder.path() / "two.jsonl";
    const GenRun run = korvexGen({"--seed", "9", "--text-seeds", "-n", "16", "--csv", csv.string(),
                                  "--jsonl", jsonl.string(), script});
    ASSERT_EQ(run.status, 0) << run.err;
    const GenRun texts = korvexGen({"--seed", "9", "--text-seeds", "-n", "16", "-0", script});
    const auto all = split(texts.out, '\0');
    ASSERT_EQ(all.size(), 16u);

    const auto lines = split(readBytes(csv), '\n');
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[0], "\xEF\xBB\xBFindex,draw,seed,text,block 0,block 1,variable colour\r");
    const auto records = split(readBytes(jsonl), '\n');
    ASSERT_EQ(records.size(), 16u);
    for (std::size_t i = 0; i < 16; ++i) {
        // The seed is the text's own: the one --only would rebuild it from.
        const auto seedAt = records[i].find("\"seed\":\"") + 8;
        const std::string seed = records[i].substr(seedAt, records[i].find('"', seedAt) - seedAt);
        EXPECT_EQ(lines[i + 1], expectedCsv(i + 1, std::to_string(i + 1), seed, all[i]) + "\r");
        const std::string first = all[i].starts_with("a") ? "1" : "2";
        EXPECT_TRUE(records[i].starts_with("{\"index\":" + std::to_string(i + 1) +
                                           ",\"draw\":" + std::to_string(i + 1) + ",\"seed\":\""))
            << records[i];
        EXPECT_NE(records[i].find("\"block 0\":" + first + ","), std::string::npos) << records[i];
    }
    // Both picks and both colours came up, so every field was read from the choices.
    EXPECT_NE(readBytes(csv).find(",2,2,green"), std::string::npos);
    EXPECT_NE(readBytes(csv).find(",1,1,red"), std::string::npos);

    // Without --force the records are not written over; the listing of every text gives its
    // choices too.
    EXPECT_EQ(korvexGen({"-n", "2", "--csv", csv.string(), script}).status, 1);
    const GenRun listed = korvexGen({"--all", "--force", "--csv", csv.string(), script});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(readBytes(csv),
              "\xEF\xBB\xBFindex,text,block 0,block 1,variable colour\r\n"
              "1,acred,1,1,red\r\n2,acgreen,1,1,green\r\n"
              "3,\"a\"\"d, e\"\"red\",1,2,red\r\n4,\"a\"\"d, e\"\"green\",1,2,green\r\n"
              "5,bcred,2,1,red\r\n6,bcgreen,2,1,green\r\n"
              "7,\"b\"\"d, e\"\"red\",2,2,red\r\n8,\"b\"\"d, e\"\"green\",2,2,green\r\n");
}

TEST(Batch, OptionsThatDoNotGoTogether) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "{a|b}\r\n").string();
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--text-seeds", "-n", "2"}, "--text-seeds needs --seed"},
        {{"--seed", "1", "--only", "2"}, "--only needs --seed and --text-seeds"},
        {{"--seed", "1", "--text-seeds", "--only", "2", "-n", "3"},
         "--only cannot be used with --count"},
        {{"--similarity"}, "--similarity goes with -n, --unique or --all"},
        {{"--max-similarity", "50"}, "--max-similarity goes with -n or --unique"},
        {{"-n", "2", "--max-similarity", "x"}, "--max-similarity needs a percentage from 0 to 100"},
        {{"--all", "--max-similarity", "50"}, "--max-similarity cannot be used with --all"},
        {{"-n", "2", "--name", "{n}"}, "--name goes with --out"},
        {{"-n", "2", "--force"}, "--force goes with --out, --csv or --jsonl"},
        {{"-n", "2", "-0", "--csv", "x.csv"},
         "--null cannot be used with --out, --csv or --jsonl: the texts go to files"},
        {{"-n", "2", "--out", "o", "--name", "{seed}{n}"},
         "{seed} in the name pattern needs --seed"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(script);
        const GenRun run = korvexGen(args);
        EXPECT_EQ(run.status, 2) << c.err;
        EXPECT_TRUE(run.err.starts_with("korvex-gen: " + c.err + "\n")) << run.err;
    }
}

}  // namespace
}  // namespace korvex::testing
