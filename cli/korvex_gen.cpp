#include "cli/korvex_gen.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>
#include <utility>

#include "cli/command_line.h"
#include "cli/modes.h"

namespace korvex::cli {
namespace {

constexpr const char* kUsage =
    "Usage: korvex-gen [options] SCRIPT\n"
    "Generates a text from the script file SCRIPT and writes it to standard output.\n"
    "\n"
    "  -n, --count N     generate N texts, each followed by a line feed\n"
    "      --unique N    generate N texts that all differ, each followed by a line feed; gives\n"
    "                    up after 100 x N generations and says how many it found (the texts\n"
    "                    written are kept in memory to compare with; with --text-seeds only\n"
    "                    their hashes, and a text is made again when a hash matches)\n"
    "      --all         write every different text of SCRIPT once, each followed by a line\n"
    "                    feed, in a fixed order: the last block or variable changes fastest.\n"
    "                    For scripts whose choices are blocks and variables with \"|\" (no\n"
    "                    \\rnd\\, \\if\\, \\inp\\, \\date\\ or \\time\\). Keeps no texts: at most\n"
    "                    64 bytes per text written tell them apart (4 MiB for 65,536 texts)\n"
    "      --limit N     with --all: write at most N texts (default 10000), and make at most\n"
    "                    100 x N combinations\n"
    "      --only I      with --seed and --text-seeds: generate text I (counted from 1) alone;\n"
    "                    the bytes are those of text I of the whole run\n"
    "      --check       check SCRIPT without generating; one finding a line on standard\n"
    "                    output: FILE:LINE:COLUMN: error|warning|note: message [code]. The\n"
    "                    exit status is 1 when a finding is an error\n"
    "  -0, --null        follow each text by a NUL byte instead of a line feed\n"
    "      --seed N      reproducible runs: the same script, seed and answers give the same text\n"
    "      --text-seeds  with --seed S: text I draws from a generator of its own, started from\n"
    "                    a mix of S and I, so it does not depend on the texts before it. Each\n"
    "                    question is asked once and its answer serves every text\n"
    "      --answer TEXT answer the next input question with TEXT (repeatable); further\n"
    "                    questions are answered from standard input, one line each\n"
    "      --stats       write the item and variant counts to standard error after each text;\n"
    "                    with --all, the texts written and the exact number of combinations,\n"
    "                    once at the end\n"
    "      --work-dir DIR  write the working files Temp.txt and Temp/<n>.txt under DIR\n"
    "\n"
    "How alike the texts are (with -n, --unique or --all):\n"
    "      --similarity  after the texts, write to standard error the number of texts, the\n"
    "                    lowest, average and highest similarity of two texts, and the closest\n"
    "                    pair. The similarity of two texts is the share of their 4-word runs\n"
    "                    (words split at spaces, tabs and line breaks) that both have, of all\n"
    "                    the runs of either (Jaccard). A text of one to three words is one run;\n"
    "                    two texts without words count as 100% alike. Up to 50,000 pairs every\n"
    "                    pair is compared; beyond, the lowest and the average are estimated\n"
    "                    from up to 50,000 random pairs (fewer for long texts) and marked so,\n"
    "                    and the highest is exact when two texts are identical, else the\n"
    "                    closest of the random pairs and of MinHash candidate pairs, each\n"
    "                    compared exactly. Keeps about 4 bytes a word of every text\n"
    "      --max-similarity P  with -n or --unique: keep a text only when it is at most P\n"
    "                    percent like every text kept before; gives up after 100 x N draws\n"
    "                    and says how many texts were kept and how many rejected\n"
    "\n"
    "Exports (the texts then go to files instead of standard output):\n"
    "      --out DIR     write each text to a file of its own in DIR (made when missing),\n"
    "                    in the text codec (windows-1252 when the text fits, else UTF-8) with\n"
    "                    CR LF line breaks; a file is written whole or not at all\n"
    "      --name PATTERN  the file names in DIR (default {script}-{n:05}.txt): {n} the text's\n"
    "                    position from 1, {n:0W} the same with zeros up to W digits, {seed}\n"
    "                    its own seed (with --text-seeds), {script} the script's name; no\n"
    "                    folder separators or \"..\"\n"
    "      --csv FILE    one record a text: index, draw and seed (with --text-seeds), the text,\n"
    "                    jump (scripts with \\if\\), then \"block B\" per block with the number\n"
    "                    of the alternative taken (from 1), and \"variable NAME\" per \\v\n"
    "                    variable with \"|\" with the value taken. RFC 4180 quoting, UTF-8 with a\n"
    "                    byte-order mark, a header line. A text that jumped to another script\n"
    "                    leaves the choice fields empty\n"
    "      --jsonl FILE  the same records as JSON objects, one a line (the seed as a string)\n"
    "      --force       replace files that exist; without it nothing that exists is replaced\n"
    "  -h, --help        show this help\n"
    "\n"
    "Messages go to standard error. Jump targets are read from SCRIPT's folder as <target>.ini;\n"
    "relative include paths start in the current folder.\n";

struct Settings {
    std::string script;
    std::vector<std::string> given;  ///< the options given, by their long names
    std::deque<std::string> answers;
    std::optional<std::string> workDir;
    std::optional<std::uint64_t> seed;
    std::uint64_t count = 1;
    std::uint64_t unique = 0;  ///< 0: texts may repeat
    std::uint64_t limit = 10'000;
    std::uint64_t only = 0;  ///< 0: no single text rebuilt
    std::optional<double> maxSimilarity;
    batch::ExportTargets targets;
    bool countGiven = false;
    bool all = false;
    bool check = false;
    bool nullSeparated = false;
    bool stats = false;
    bool similarity = false;
    bool textSeeds = false;
    bool help = false;
};

template <typename T>
bool parseNumber(const std::string& text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

// A percentage from 0 to 100, with or without a "%" after it.
bool parsePercent(std::string text, double& value) {
    if (!text.empty() && text.back() == '%') {
        text.pop_back();
    }
    return parseNumber(text, value) && value >= 0 && value <= 100;
}

// The modes exclude one another, and each takes only the options that mean something to it.
std::optional<std::string> conflictingOptions(const std::vector<std::string>& given) {
    const std::set<std::string> modes{"--count", "--unique", "--all", "--check", "--only"};
    const std::set<std::string> exports{"--out", "--name", "--force", "--csv", "--jsonl"};
    auto with = [&](std::set<std::string> options, bool exporting) {
        if (exporting) {
            options.insert(exports.begin(), exports.end());
        }
        return options;
    };
    const std::map<std::string, std::set<std::string>> companions{
        {"", with({"--null", "--seed", "--answer", "--stats", "--work-dir", "--text-seeds"}, true)},
        {"--count", with({"--null", "--seed", "--answer", "--stats", "--work-dir", "--text-seeds",
                          "--similarity", "--max-similarity"},
                         true)},
        {"--unique", with({"--null", "--seed", "--answer", "--stats", "--text-seeds",
                           "--similarity", "--max-similarity"},
                          true)},
        {"--all", with({"--limit", "--null", "--stats", "--similarity"}, true)},
        {"--only",
         with({"--null", "--seed", "--answer", "--stats", "--work-dir", "--text-seeds"}, false)},
        {"--check", {}},
    };
    // Options that only one or two modes take, named by what they need when no mode is given.
    const std::map<std::string, std::string> needs{
        {"--limit", "--limit goes with --all"},
        {"--similarity", "--similarity goes with -n, --unique or --all"},
        {"--max-similarity", "--max-similarity goes with -n or --unique"},
    };
    std::string mode;
    for (const auto& option : given) {
        if (modes.contains(option) && option != mode) {
            if (!mode.empty()) {
                std::string conflict = mode;
                conflict += " cannot be used with ";
                conflict += option;
                return conflict;
            }
            mode = option;
        }
    }
    for (const auto& option : given) {
        if (modes.contains(option) || companions.at(mode).contains(option)) {
            continue;
        }
        if (mode.empty() && needs.contains(option)) {
            return needs.at(option);
        }
        return option + " cannot be used with " + (mode.empty() ? "--count" : mode);
    }
    auto has = [&](const char* option) {
        return std::find(given.begin(), given.end(), option) != given.end();
    };
    const bool exporting = has("--out") || has("--csv") || has("--jsonl");
    if (has("--text-seeds") && !has("--seed")) {
        return std::string("--text-seeds needs --seed");
    }
    if (has("--only") && !(has("--seed") && has("--text-seeds"))) {
        return std::string("--only needs --seed and --text-seeds");
    }
    if (has("--name") && !has("--out")) {
        return std::string("--name goes with --out");
    }
    if (has("--force") && !exporting) {
        return std::string("--force goes with --out, --csv or --jsonl");
    }
    if (has("--null") && exporting) {
        return std::string(
            "--null cannot be used with --out, --csv or --jsonl: the texts go to "
            "files");
    }
    return std::nullopt;
}

// Returns an error text, or nothing when the options are good.
std::optional<std::string> parseArgs(const std::vector<std::string>& args, Settings& settings) {
    bool optionsEnded = false;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (arg.starts_with("--")) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg.resize(eq);
            }
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < args.size()) {
                return args[++i];
            }
            return std::nullopt;
        };
        auto takesNoValue = [&] { return !inlineValue; };
        auto wholeNumber = [&](std::uint64_t& number) -> std::optional<std::string> {
            const auto text = value();
            if (!text || !parseNumber(*text, number) || number < 1) {
                return arg + " needs a whole number of at least 1";
            }
            return std::nullopt;
        };
        auto path = [&](std::optional<std::filesystem::path>& target,
                        const char* what) -> std::optional<std::string> {
            const auto text = value();
            if (!text || text->empty()) {
                return arg + " needs " + what;
            }
            target = *text;
            return std::nullopt;
        };
        std::optional<std::string> problem;
        if ((arg == "-h" || arg == "--help") && takesNoValue()) {
            settings.help = true;
        } else if ((arg == "-0" || arg == "--null") && takesNoValue()) {
            settings.nullSeparated = true;
        } else if (arg == "--stats" && takesNoValue()) {
            settings.stats = true;
        } else if (arg == "--all" && takesNoValue()) {
            settings.all = true;
        } else if (arg == "--check" && takesNoValue()) {
            settings.check = true;
        } else if (arg == "--similarity" && takesNoValue()) {
            settings.similarity = true;
        } else if (arg == "--text-seeds" && takesNoValue()) {
            settings.textSeeds = true;
        } else if (arg == "--force" && takesNoValue()) {
            settings.targets.replace = true;
        } else if (arg == "-n" || arg == "--count") {
            problem = wholeNumber(settings.count);
            settings.countGiven = true;
        } else if (arg == "--unique") {
            problem = wholeNumber(settings.unique);
        } else if (arg == "--limit") {
            problem = wholeNumber(settings.limit);
        } else if (arg == "--only") {
            problem = wholeNumber(settings.only);
        } else if (arg == "--max-similarity") {
            double percent = 0;
            const auto text = value();
            if (!text || !parsePercent(*text, percent)) {
                return "--max-similarity needs a percentage from 0 to 100";
            }
            settings.maxSimilarity = percent;
        } else if (arg == "--seed") {
            std::uint64_t seed = 0;
            const auto text = value();
            if (!text || !parseNumber(*text, seed)) {
                return "--seed needs a whole number from 0 to 18446744073709551615";
            }
            settings.seed = seed;
        } else if (arg == "--answer") {
            const auto text = value();
            if (!text) {
                return "--answer needs a text";
            }
            settings.answers.push_back(*text);
        } else if (arg == "--work-dir") {
            const auto text = value();
            if (!text || text->empty()) {
                return "--work-dir needs a folder";
            }
            settings.workDir = *text;
        } else if (arg == "--out") {
            problem = path(settings.targets.folder, "a folder");
        } else if (arg == "--csv") {
            problem = path(settings.targets.csv, "a file");
        } else if (arg == "--jsonl") {
            problem = path(settings.targets.jsonLines, "a file");
        } else if (arg == "--name") {
            const auto text = value();
            if (!text || text->empty()) {
                return "--name needs a pattern";
            }
            settings.targets.namePattern = *text;
        } else {
            return "unknown option " + args[i];
        }
        if (problem) {
            return problem;
        }
        settings.given.push_back(arg == "-n" ? "--count" : arg == "-0" ? "--null" : arg);
    }
    if (settings.help) {
        return std::nullopt;
    }
    if (auto conflict = conflictingOptions(settings.given)) {
        return conflict;
    }
    if (positional.size() != 1) {
        return positional.empty() ? "no SCRIPT given" : "only one SCRIPT can be given";
    }
    settings.script = positional.front();
    settings.targets.seedPerText = settings.textSeeds;
    settings.targets.scriptName = std::filesystem::path(settings.script).stem().string();
    std::string problem;
    if (!batch::BatchWriter::checkPattern(settings.targets, problem)) {
        return problem;
    }
    if (settings.targets.folder && !settings.seed &&
        batch::NamePattern::parse(settings.targets.namePattern, false, problem)->usesSeed()) {
        return std::string("{seed} in the name pattern needs --seed");
    }
    return std::nullopt;
}

// The script must be a readable file; the engine itself would quietly read it as empty.
std::optional<std::string> unreadableReason(const std::filesystem::path& script) {
    std::error_code error;
    const auto status = std::filesystem::status(script, error);
    if (error) {
        return error.message();
    }
    if (std::filesystem::is_directory(status)) {
        return "it is a folder";
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "it is not a regular file";
    }
    std::FILE* file = std::fopen(script.c_str(), "rb");
    if (!file) {
        return std::strerror(errno);
    }
    std::fclose(file);
    return std::nullopt;
}

}  // namespace

int runKorvexGen(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    Settings settings;
    if (auto problem = parseArgs(args, settings)) {
        err << "korvex-gen: " << *problem << "\n\n" << kUsage;
        return 2;
    }
    if (settings.help) {
        TextOutput help(out);
        help.write(kUsage);
        help.flush();
        if (help.failed()) {
            err << "korvex-gen: cannot write the help: " << help.reason() << '\n';
            return 1;
        }
        return 0;
    }
    const std::filesystem::path script(settings.script);
    if (auto reason = unreadableReason(script)) {
        err << "korvex-gen: cannot read " << settings.script << ": " << *reason << '\n';
        return 1;
    }

    if (settings.check) {
        return runCheck(settings.script, out, err);
    }
    if (settings.all) {
        ListSettings list{settings.script,        settings.limit,      settings.stats,
                          settings.nullSeparated, settings.similarity, settings.targets};
        return runList(list, out, err);
    }

    GenerateSettings generate;
    generate.script = settings.script;
    generate.answers = std::move(settings.answers);
    generate.workDir = settings.workDir;
    generate.seed = settings.seed;
    generate.draw.wanted = settings.unique > 0 ? settings.unique : settings.count;
    generate.draw.unique = settings.unique > 0;
    generate.draw.maxSimilarity = settings.maxSimilarity;
    if (settings.textSeeds) {
        generate.draw.textSeeds = settings.seed;
    }
    if (settings.only > 0) {
        generate.draw.firstDraw = settings.only;
    }
    generate.draw.measure = settings.similarity;
    generate.separated = settings.countGiven || settings.unique > 0;
    generate.nullSeparated = settings.nullSeparated;
    generate.stats = settings.stats;
    generate.similarity = settings.similarity;
    generate.targets = settings.targets;
    return runGenerate(generate, in, out, err);
}

}  // namespace korvex::cli
