// korvex-gen: the golden cases through the command line, its options, and its exit statuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>
#include <sstream>
#include <streambuf>
#include <utility>

#include "cli/korvex_gen.h"
#include "golden_case.h"

namespace korvex::testing {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun korvexGen(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cli::runKorvexGen(args, in, out, err);
    return {status, out.str(), err.str()};
}

// Runs with the current folder set to `folder`, as a person would from a shell.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

class GoldenCliTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenCliTest, GivesTheSameTextAsTheEngine) {
    const GoldenCase& c = GetParam();
    if (c.dateTime) {
        GTEST_SKIP() << "the real date and time";
    }
    std::vector<std::string> args{"--seed", std::to_string(c.seed), "--stats"};
    std::string input;
    bool cancelled = false;
    for (const auto& answer : c.answers) {
        if (!answer) {
            cancelled = true;  // the end of the input answers as Cancel
        } else if (cancelled) {
            GTEST_SKIP() << "an answer after a Cancel";
        } else {
            args.insert(args.end(), {"--answer", *answer});
        }
    }
    args.push_back("Projects/script.ini");
    CaseFolder folder(c);
    InFolder here(folder.path());
    const CliRun run = korvexGen(args, input);

    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(c.accepts(run.out)) << "got: [" << run.out << "]";
    std::string expectedErr;
    for (const auto& message : c.messages) {
        expectedErr += message + "\n";
    }
    if (cancelled) {
        expectedErr += c.prompts.back() + " \n";
    }
    if (c.warning) {
        EXPECT_NE(run.err.find("korvex-gen: warning: "), std::string::npos);
    } else {
        EXPECT_EQ(run.err.substr(0, expectedErr.size()), expectedErr);
    }
    if (c.items) {
        EXPECT_NE(run.err.find("N. Items   : " + *c.items + "\n"), std::string::npos) << run.err;
    }
    if (c.variants) {
        EXPECT_NE(run.err.find("N. Variants: " + *c.variants + "\n"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenCliTest,
                         ::testing::ValuesIn(loadGoldenCases(KORVEX_GOLDEN_DIR)),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST(KorvexGen, SeveralTextsSeparatedAsAsked) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "{a|a}\\b\\x\r\n").string();
    EXPECT_EQ(korvexGen({script}).out, "a\r\nx");
    EXPECT_EQ(korvexGen({"-n", "3", script}).out, "a\r\nx\na\r\nx\na\r\nx\n");
    EXPECT_EQ(korvexGen({"--count=2", "-0", script}).out, std::string("a\r\nx\0a\r\nx\0", 10));
    EXPECT_EQ(korvexGen({"--null", "--", script}).out, "a\r\nx");  // one text, nothing added
}

TEST(KorvexGen, OptionsReadAsGetoptReadsThem) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "{a|a}\r\n").string();
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"-n3", script}, "a\na\na\n"},
        {{"-n", "3", script}, "a\na\na\n"},
        {{"-0n", "2", script}, std::string("a\0a\0", 4)},
        {{script, "--cou=2"}, "a\na\n"},  // after SCRIPT, and shortened
        {{"--", "-n2", script}, ""},      // "-n2" is the script: two scripts
        {{"--version"}, "korvex-gen (Korvex5) 5.00\n"},
        {{"-V"}, "korvex-gen (Korvex5) 5.00\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = korvexGen(c.args);
        EXPECT_EQ(run.out, c.out) << c.args.front();
        EXPECT_EQ(run.status, c.out.empty() ? 2 : 0) << run.err;
    }
}

TEST(KorvexGen, AScriptFromStandardInputJumpsAndIncludesFromTheCurrentFolder) {
    TempFolder folder;
    folder.write("Next.ini", "next\\s\\{b|b}\\inc\\ part.txt\r\n");
    folder.write("part.txt", " and part");
    InFolder here(folder.path());
    const struct {
        std::vector<std::string> args;
        std::string script;
        int status;
        std::string out;
    } cases[] = {
        {{"-"}, "\\if\\ 0 = Next\r\n", 0, "next b and part\r\n"},
        {{"-n2", "--answer", "Ann", "-"},
         "\\inp\\1_Who?_w\r\n\\w\\\r\n",
         0,
         "Ann\nAnn\n"},  // asked once for the whole run, answered from --answer
        {{"--check", "-"},
         "\\rnd\\ 2\r\n\\if\\ 1 = Gone\r\n",
         1,
         "-:2:1: error: jump target \"Gone\" does not exist: there is no file \"./Gone.ini\"; "
         "a jump there gives an empty text [jump-target]\n"},
        {{"--all", "-"}, "{x|y}\r\n", 0, "x\ny\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = korvexGen(c.args, c.script);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
}

TEST(KorvexGen, SeedsMakeRunsReproducible) {
    TempFolder folder;
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += "{a|b|c|d}\r\n\\^\\\r\n";
    }
    const auto script = folder.write("s.ini", text).string();
    const auto first = korvexGen({"--seed", "99", "-n", "5", script}).out;
    EXPECT_EQ(korvexGen({"--seed", "99", "-n", "5", script}).out, first);
    EXPECT_NE(korvexGen({"--seed", "100", "-n", "5", script}).out, first);
    EXPECT_NE(first.substr(0, 31), first.substr(31, 31));  // the generator carries over
}

TEST(KorvexGen, AnswersFromOptionsThenStandardInput) {
    TempFolder folder;
    const auto script = folder
                            .write("s.ini",
                                   "\\inp\\1_First?_a\r\n\\inp\\2_Second?_b\r\n\\inp\\3_Third_c\r\n"
                                   "\\a\\,\\b\\,\\c\\\r\n\\msg\\ done\r\n")
                            .string();
    const CliRun run = korvexGen({"--answer", "one", script}, "two\r\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "one,two,");
    EXPECT_EQ(run.err, "Second? Third \ndone\n");  // the third question meets the end of input
}

// A question that only some texts reach (after a jump) is asked when the first of them does,
// and its answer serves every later one, with a generator carried over or a seed per text.
TEST(KorvexGen, AQuestionAfterAJumpIsAskedOnceForTheWholeRun) {
    TempFolder folder;
    const auto script = folder.write("Fork.ini", "\\rnd\\ 3\r\n\\if\\ 3 = Leaf\r\nstem\r\n");
    folder.write("Leaf.ini", "\\inp\\1_Name?_who\r\nleaf[\\who\\]\r\n");
    for (const std::vector<std::string>& seeds :
         {std::vector<std::string>{"--seed", "5"},
          std::vector<std::string>{"--seed", "5", "--text-seeds"}}) {
        std::vector<std::string> args = seeds;
        args.insert(args.end(), {"-n", "60", script.string()});
        const CliRun run = korvexGen(args, "Bob\r\n");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "Name? ") << seeds.size();
        EXPECT_NE(run.out.find("leaf[Bob]"), std::string::npos) << seeds.size();
        EXPECT_EQ(run.out.find("leaf[]"), std::string::npos) << seeds.size();
    }
}

TEST(KorvexGen, BadOptionsAndUnreadableScripts) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "x\r\n").string();
    const std::string tryHelp = "\nTry 'korvex-gen --help'.\n";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string errStart;
    } cases[] = {
        {{}, 2, "korvex-gen: no SCRIPT given" + tryHelp},
        {{script, script}, 2, "korvex-gen: only one SCRIPT can be given" + tryHelp},
        {{"--colour", script}, 2, "korvex-gen: unknown option --colour" + tryHelp},
        {{"-x", script}, 2, "korvex-gen: unknown option -x" + tryHelp},
        {{"--s", script}, 2, "korvex-gen: option --s is ambiguous" + tryHelp},
        {{"-n", "0", script}, 2, "korvex-gen: -n needs a whole number of at least 1" + tryHelp},
        {{script, "-n"}, 2, "korvex-gen: -n needs a whole number of at least 1" + tryHelp},
        {{"--count", "x", script}, 2, "korvex-gen: --count needs a whole number"},
        {{"--seed", "-1", script}, 2, "korvex-gen: --seed needs a whole number"},
        {{script, "--answer"}, 2, "korvex-gen: --answer needs a text" + tryHelp},
        {{"--stats=1", script}, 2, "korvex-gen: --stats takes no value" + tryHelp},
        {{"--unique", "0", script}, 2, "korvex-gen: --unique needs a whole number of at least 1"},
        {{"--all", "--limit", "0", script}, 2, "korvex-gen: --limit needs a whole number"},
        {{"--all", "--seed", "1", script}, 2, "korvex-gen: --seed cannot be used with --all\n"},
        {{"--limit", "3", script}, 2, "korvex-gen: --limit goes with --all\n"},
        {{"--check", "-n", "2", script}, 2, "korvex-gen: --check cannot be used with --count\n"},
        {{"--unique", "2", "--work-dir", "w", script},
         2,
         "korvex-gen: --work-dir cannot be used with --unique\n"},
        {{"-j", "2", "--seed", "1", script},
         2,
         "korvex-gen: -j with more than one thread needs --seed and --text-seeds: otherwise "
         "each text goes on from the one before, and the texts would depend on the threads' "
         "timing" +
             tryHelp},
        {{"-j", "0", script}, 2, "korvex-gen: -j with more than one thread needs --seed"},
        {{"-jx", script}, 2, "korvex-gen: -j needs a number of threads from 0"},
        {{"--all", "-j", "1", script}, 2, "korvex-gen: --jobs cannot be used with --all\n"},
        {{"--first", "2", script}, 2, "korvex-gen: --first needs --seed and --text-seeds\n"},
        {{"--seed", "1", "--text-seeds", "--first", "18446744073709551615", "-n", "2", script},
         2,
         "korvex-gen: --first and -n go beyond text 18446744073709551615\n"},
        {{"--unique", "3", "--first", "2", script},
         2,
         "korvex-gen: --first cannot be used with --unique\n"},
        {{(folder.path() / "none.ini").string()},
         1,
         "korvex-gen: cannot read " + (folder.path() / "none.ini").string() + ": "},
        {{folder.path().string()},
         1,
         "korvex-gen: cannot read " + folder.path().string() + ": it is a folder\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = korvexGen(c.args);
        EXPECT_EQ(run.status, c.status) << c.errStart;
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_EQ(run.out, "");
    }
    const CliRun help = korvexGen({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: korvex-gen [options] SCRIPT\n"));
}

// The options one entry of an option list names: its words that start with a dash ("--" alone
// ends the options).
void addOptions(const std::string& entry, std::set<std::string>& names) {
    std::istringstream words(entry);
    for (std::string word; words >> word;) {
        while (!word.empty() && (word.back() == ',' || word.back() == '"')) {
            word.pop_back();
        }
        if (word.size() > 1 && word[0] == '-' && word != "--") {
            names.insert(word);
        }
    }
}

TEST(KorvexGen, HelpAndManualPageNameTheSameOptions) {
    // The help's entries: "  -n, --count N     generate ..." and "      --all  write ...".
    std::set<std::string> inHelp;
    std::istringstream help(korvexGen({"--help"}).out);
    for (std::string line; std::getline(help, line);) {
        const std::size_t start = line.find_first_not_of(' ');
        if ((start == 2 || start == 6) && line[start] == '-') {
            addOptions(line.substr(0, line.find("  ", start)), inHelp);
        }
    }
    // The manual page's: the line after each ".TP" between OPTIONS and EXIT STATUS.
    std::set<std::string> inPage;
    std::istringstream page(readBytes(KORVEX_MAN_PAGE));
    bool inOptions = false;
    for (std::string line, previous; std::getline(page, line); previous = line) {
        inOptions = line.starts_with(".SH") ? line == ".SH OPTIONS" : inOptions;
        for (std::size_t at; (at = line.find("\\-")) != std::string::npos;) {
            line.erase(at, 1);
        }
        if (inOptions && previous == ".TP") {
            addOptions(line, inPage);
        }
    }
    EXPECT_GT(inHelp.size(), 20u);
    EXPECT_EQ(inHelp, inPage);
}

TEST(KorvexGen, WorkingFilesOnlyWhenAsked) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "{a|b}\r\n").string();
    const auto work = folder.path() / "work";
    ASSERT_EQ(korvexGen({script}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "Temp.txt"));

    ASSERT_EQ(korvexGen({"--work-dir", work.string(), script}).status, 0);
    EXPECT_EQ(readBytes(work / "Temp.txt"), "\r\n[.dot4.]a\r\n[.dot4.]b\r\n\r\n");
    EXPECT_EQ(readBytes(work / "Temp" / "0.txt"), "[.dot4.]a\r\n[.dot4.]b\r\n");

    folder.write("blocked", "a file where the folder should be");
    const CliRun blocked = korvexGen({"--work-dir", (folder.path() / "blocked").string(), script});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.err, "korvex-gen: Could not write \"" +
                               (folder.path() / "blocked" / "Temp.txt").string() +
                               "\": Not a directory.\n");
}

TEST(KorvexGen, CheckPrintsFindingsAndFailsOnErrors) {
    TempFolder folder;
    const auto path = [&](const char* name) { return (folder.path() / name).string(); };
    folder.write("clean.ini", "{a|b}\r\n");
    folder.write("warned.ini", "foo|bar\r\n");
    folder.write("broken.ini", "\xC3\xA9 {a|b\r\nx\r\n\\rnd\\ 2\r\n\\if\\ 1 = Gone\r\n");
    const struct {
        std::string script;
        int status;
        std::string out;
    } cases[] = {
        {path("clean.ini"), 0, ""},
        {path("warned.ini"), 0,
         path("warned.ini") +
             ":1:4: warning: \"|\" outside a block is dropped: the text after it becomes an "
             "alternative [bar-outside-block]\n"},
        {path("broken.ini"), 1,
         path("broken.ini") +
             ":1:2: note: the space before \"{\" is dropped; write \"\\s\\\" for a space that "
             "stays [dropped-space]\n" +
             path("broken.ini") +
             ":1:3: error: \"{\" is not closed: its last alternative runs to the end of the line "
             "[unclosed-brace]\n" +
             path("broken.ini") +
             ":4:1: error: jump target \"Gone\" does not exist: there is no "
             "file \"" +
             path("Gone.ini") + "\"; a jump there gives an empty text [jump-target]\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = korvexGen({"--check", c.script});
        EXPECT_EQ(run.status, c.status) << c.script;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
    }
}

TEST(KorvexGen, ShippedExamplesCheckWithoutErrors) {
    InFolder app(KORVEX_APP_SOURCE_DIR);
    std::size_t checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator("Examples")) {
        ++checked;
        const CliRun run = korvexGen({"--check", entry.path().string()});
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(run.out.find(": warning: "), std::string::npos) << run.out;
    }
    EXPECT_GT(checked, 0u);
}

TEST(KorvexGen, UniqueTextsAllDifferAndAShortfallIsTold) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "{a|b}\r\n\\^\\\r\n{c|d}\r\n").string();
    auto lines = [](const std::string& out) {
        std::vector<std::string> found;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);) {
            found.push_back(line);
        }
        std::sort(found.begin(), found.end());
        return found;
    };
    const CliRun all = korvexGen({"--seed", "5", "--unique", "10", script});
    EXPECT_EQ(all.status, 3);  // fewer than asked for
    EXPECT_EQ(lines(all.out), (std::vector<std::string>{"ac", "ad", "bc", "bd"}));
    EXPECT_EQ(all.err,
              "korvex-gen: only 4 different texts came in 1000 generations (10 were "
              "asked for)\n");

    const CliRun three = korvexGen({"--seed", "5", "--unique", "3", script});
    EXPECT_EQ(three.status, 0);
    const auto found = lines(three.out);
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(std::adjacent_find(found.begin(), found.end()), found.end());
    EXPECT_EQ(three.err, "");
}

TEST(KorvexGen, AllListsEveryDifferentTextInOrder) {
    TempFolder folder;
    const auto script =
        folder.write("s.ini", "\\v x = 1|2|1\r\n{a|b}\r\n\\^\\\r\n{c|}\\x\\\r\n").string();
    const CliRun all = korvexGen({"--all", "--stats", script});
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.out, "ac1\nac2\na1\na2\nbc1\nbc2\nb1\nb2\n");
    EXPECT_EQ(all.err, "N. Texts   : 8\nN. Variants: 8\n");

    const CliRun some = korvexGen({"--all", "--limit=3", "-0", script});
    EXPECT_EQ(some.status, 3);  // stopped before the last text
    EXPECT_EQ(some.out, std::string("ac1\0ac2\0a1\0", 11));
    EXPECT_EQ(some.err, "korvex-gen: stopped at the limit of 3 texts\n");

    const auto jumps = folder.write("j.ini", "{a|b}\r\n\\rnd\\ 2\r\n").string();
    const CliRun refused = korvexGen({"--all", jumps});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "korvex-gen: cannot list every text of " + jumps +
                               ": line 2: \"\\rnd\\\" draws at random; only blocks and variables "
                               "with \"|\" can be listed\n");
}

// Takes nothing: every write fails as on a full disk.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override {
        errno = ENOSPC;
        return traits_type::eof();
    }
    std::streamsize xsputn(const char*, std::streamsize) override {
        errno = ENOSPC;
        return 0;
    }
};

TEST(KorvexGen, ATextThatCannotBeWrittenIsAFailure) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "{a|b} and \\msg\\ hi\r\n").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{script}, {"-n", "3", script}, {"--stats", script}}) {
        FullDisk full;
        std::ostream out(&full);
        std::istringstream in;
        std::ostringstream err;
        EXPECT_EQ(cli::runKorvexGen(args, in, out, err), 1) << args.front();
        EXPECT_TRUE(
            err.str().ends_with("korvex-gen: cannot write the text: No space left on device\n"))
            << err.str();
    }
}

// The real program: bytes on standard output and the exit status.
TEST(KorvexGenProgram, WritesTheTextByteForByte) {
    TempFolder folder;
    const auto script = folder.write("s.ini", "caf\xE9\\b\\{\xE2\x82\xAC}\r\n");
    const std::string command = std::string(KORVEX_GEN_PATH) + " '" + script.string() + "' > '" +
                                (folder.path() / "out").string() + "' 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    // windows-1252 in, UTF-8 out: é, a line break, and the euro sign from the bytes E2 82 AC
    // read as windows-1252 (the file is not valid UTF-8 as a whole).
    EXPECT_EQ(readBytes(folder.path() / "out"), "caf\xC3\xA9\r\n\xC3\xA2\xE2\x80\x9A\xC2\xAC");

    // A full disk and a closed output lose the text: never a success.
    const auto err = folder.path() / "err";
    for (const auto& [redirect, reason] :
         {std::pair<std::string, std::string>{"> /dev/full", "No space left on device"},
          {">&-", "Bad file descriptor"}}) {
        const std::string lost = std::string(KORVEX_GEN_PATH) + " -n 3 '" + script.string() + "' " +
                                 redirect + " 2> '" + err.string() + "'";
        EXPECT_EQ(WEXITSTATUS(std::system(lost.c_str())), 1) << redirect;
        EXPECT_EQ(readBytes(err), "korvex-gen: cannot write the text: " + reason + "\n");
    }

    const std::string missing = std::string(KORVEX_GEN_PATH) + " /nonexistent/x.ini 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(missing.c_str())), 1);
    const std::string usage = std::string(KORVEX_GEN_PATH) + " --bad 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(usage.c_str())), 2);

    // A script through a pipe, named "-" or /dev/stdin, serves every text.
    for (const char* name : {"-", "/dev/stdin"}) {
        const std::string piped = "printf '{a|a}\\r\\n' | " + std::string(KORVEX_GEN_PATH) +
                                  " -n2 " + name + " > '" + (folder.path() / "out").string() + "'";
        EXPECT_EQ(std::system(piped.c_str()), 0) << name;
        EXPECT_EQ(readBytes(folder.path() / "out"), "a\na\n") << name;
    }
}

}  // namespace
}  // namespace korvex::testing
