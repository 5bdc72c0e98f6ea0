#include "cli/korvex_gen.h"

#include <getopt.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <deque>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string_view>
#include <thread>
#include <utility>

#include "cli/command_line.h"
#include "cli/modes.h"
#include "cli/usage.h"

namespace korvex::cli {
namespace {

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
    std::uint64_t first = 1;
    unsigned jobs = 1;  ///< 0: one for each core
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
    bool version = false;
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
    // The options every mode that draws texts takes.
    const std::set<std::string> drawing{"--null",  "--seed",       "--answer",
                                        "--stats", "--text-seeds", "--jobs"};
    const std::set<std::string> modes{"--count", "--unique", "--all", "--check", "--only"};
    const std::set<std::string> exports{"--out", "--name", "--force", "--csv", "--jsonl"};
    auto join = [](std::set<std::string> options, const std::set<std::string>& more) {
        options.insert(more.begin(), more.end());
        return options;
    };
    auto with = [&](std::set<std::string> options, bool exporting) {
        if (exporting) {
            options.insert(exports.begin(), exports.end());
        }
        return options;
    };
    const std::map<std::string, std::set<std::string>> companions{
        {"", with(join(drawing, {"--work-dir", "--first"}), true)},
        {"--count",
         with(join(drawing, {"--work-dir", "--first", "--similarity", "--max-similarity"}), true)},
        {"--unique", with(join(drawing, {"--similarity", "--max-similarity"}), true)},
        {"--all", with({"--limit", "--null", "--stats", "--similarity"}, true)},
        {"--only", with(join(drawing, {"--work-dir"}), false)},
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
    for (const char* option : {"--only", "--first"}) {
        if (has(option) && !(has("--seed") && has("--text-seeds"))) {
            return std::string(option) + " needs --seed and --text-seeds";
        }
    }
    if (has("--first") && has("--max-similarity")) {
        return std::string(
            "--first cannot be used with --max-similarity: which texts are kept depends on "
            "every text before");
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

constexpr unsigned kMaxJobs = 1024;

// The options getopt_long knows. Options without a short form have values from 256 up.
enum OptionId : int {
    kCount = 'n',
    kNull = '0',
    kHelp = 'h',
    kVersion = 'V',
    kJobs = 'j',
    kUnique = 256,
    kAll,
    kLimit,
    kOnly,
    kFirst,
    kCheck,
    kSeed,
    kTextSeeds,
    kAnswer,
    kStats,
    kWorkDir,
    kSimilarity,
    kMaxSimilarity,
    kOut,
    kName,
    kCsv,
    kJsonl,
    kForce,
};

constexpr option kLongOptions[] = {
    {"count", required_argument, nullptr, kCount},
    {"unique", required_argument, nullptr, kUnique},
    {"all", no_argument, nullptr, kAll},
    {"limit", required_argument, nullptr, kLimit},
    {"only", required_argument, nullptr, kOnly},
    {"first", required_argument, nullptr, kFirst},
    {"jobs", required_argument, nullptr, kJobs},
    {"check", no_argument, nullptr, kCheck},
    {"null", no_argument, nullptr, kNull},
    {"seed", required_argument, nullptr, kSeed},
    {"text-seeds", no_argument, nullptr, kTextSeeds},
    {"answer", required_argument, nullptr, kAnswer},
    {"stats", no_argument, nullptr, kStats},
    {"work-dir", required_argument, nullptr, kWorkDir},
    {"similarity", no_argument, nullptr, kSimilarity},
    {"max-similarity", required_argument, nullptr, kMaxSimilarity},
    {"out", required_argument, nullptr, kOut},
    {"name", required_argument, nullptr, kName},
    {"csv", required_argument, nullptr, kCsv},
    {"jsonl", required_argument, nullptr, kJsonl},
    {"force", no_argument, nullptr, kForce},
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};
// The leading ":" makes a missing value its own answer, told apart from an unknown option.
constexpr const char* kShortOptions = ":n:j:0hV";

std::string longName(int id) {
    for (const option& o : kLongOptions) {
        if (o.name && o.val == id) {
            return std::string("--") + o.name;
        }
    }
    return {};
}

// Why getopt_long refused `arg` when it answered '?': glibc leaves optopt 0 for a long name it
// does not know or cannot tell apart, and the option's value for a long option given a value
// it does not take.
std::string refusal(const std::string& arg, int optionId) {
    if (optionId == 0) {
        const std::string name = arg.substr(2, arg.find('=') - 2);
        int matches = 0;
        for (const option& o : kLongOptions) {
            matches += o.name && std::string_view(o.name).starts_with(name) ? 1 : 0;
        }
        return matches > 1 ? "option --" + name + " is ambiguous" : "unknown option " + arg;
    }
    if (!longName(optionId).empty() && arg.starts_with("--")) {
        return longName(optionId) + " takes no value";
    }
    return std::string("unknown option -") + static_cast<char>(optionId);
}

// Takes one option and its value (nothing when it was missing); `name` is the option as it
// was written (-n or --count). Returns an error text.
std::optional<std::string> takeOption(int id, const std::string& name,
                                      const std::optional<std::string>& value, Settings& settings) {
    auto wholeNumber = [&](std::uint64_t& number) -> std::optional<std::string> {
        if (!value || !parseNumber(*value, number) || number < 1) {
            return name + " needs a whole number of at least 1";
        }
        return std::nullopt;
    };
    auto text = [&](std::string& target, const char* what,
                    bool mayBeEmpty) -> std::optional<std::string> {
        if (!value || (!mayBeEmpty && value->empty())) {
            return name + " needs " + what;
        }
        target = *value;
        return std::nullopt;
    };
    auto path = [&](std::optional<std::filesystem::path>& target,
                    const char* what) -> std::optional<std::string> {
        std::string given;
        auto problem = text(given, what, false);
        if (!problem) {
            target = given;
        }
        return problem;
    };
    std::string taken;
    std::optional<std::string> problem;
    switch (id) {
        case kHelp:
            settings.help = true;
            break;
        case kVersion:
            settings.version = true;
            break;
        case kNull:
            settings.nullSeparated = true;
            break;
        case kStats:
            settings.stats = true;
            break;
        case kAll:
            settings.all = true;
            break;
        case kCheck:
            settings.check = true;
            break;
        case kSimilarity:
            settings.similarity = true;
            break;
        case kTextSeeds:
            settings.textSeeds = true;
            break;
        case kForce:
            settings.targets.replace = true;
            break;
        case kCount:
            problem = wholeNumber(settings.count);
            settings.countGiven = true;
            break;
        case kUnique:
            problem = wholeNumber(settings.unique);
            break;
        case kLimit:
            problem = wholeNumber(settings.limit);
            break;
        case kOnly:
            problem = wholeNumber(settings.only);
            break;
        case kFirst:
            problem = wholeNumber(settings.first);
            break;
        case kJobs: {
            unsigned jobs = 0;
            if (!value || !parseNumber(*value, jobs) || jobs > kMaxJobs) {
                return name + " needs a number of threads from 0 (one for each core) to " +
                       std::to_string(kMaxJobs);
            }
            settings.jobs = jobs;
            break;
        }
        case kMaxSimilarity: {
            double percent = 0;
            if (!value || !parsePercent(*value, percent)) {
                return "--max-similarity needs a percentage from 0 to 100";
            }
            settings.maxSimilarity = percent;
            break;
        }
        case kSeed: {
            std::uint64_t seed = 0;
            if (!value || !parseNumber(*value, seed)) {
                return "--seed needs a whole number from 0 to 18446744073709551615";
            }
            settings.seed = seed;
            break;
        }
        case kAnswer:
            problem = text(taken, "a text", true);
            settings.answers.push_back(taken);
            break;
        case kWorkDir:
            problem = text(taken, "a folder", false);
            settings.workDir = taken;
            break;
        case kOut:
            problem = path(settings.targets.folder, "a folder");
            break;
        case kCsv:
            problem = path(settings.targets.csv, "a file");
            break;
        case kJsonl:
            problem = path(settings.targets.jsonLines, "a file");
            break;
        case kName:
            problem = text(settings.targets.namePattern, "a pattern", false);
            break;
        default:
            return "unknown option " + name;
    }
    if (!problem) {
        settings.given.push_back(longName(id));
    }
    return problem;
}

// Returns an error text, or nothing when the options are good. The options are read by
// getopt_long, as every other program on the system reads them: "-n3", "-0n 3", "--count=3",
// abbreviated long names, options after SCRIPT, and "--" ending them.
std::optional<std::string> parseArgs(const std::vector<std::string>& args, Settings& settings) {
    std::vector<std::string> words{"korvex-gen"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    // getopt keeps its place in globals: 0 starts it afresh for every run, and it says nothing
    // itself.
    optind = 0;
    opterr = 0;
    for (;;) {
        int longIndex = -1;
        const int id = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, &longIndex);
        if (id == -1) {
            break;
        }
        const std::string arg = argv[static_cast<std::size_t>(optind - 1)];
        if (id == '?') {
            return refusal(arg, optopt);
        }
        if (id == ':') {
            const std::string name = arg.starts_with("--")
                                         ? longName(optopt)
                                         : std::string("-") + static_cast<char>(optopt);
            return takeOption(optopt, name, std::nullopt, settings);
        }
        const std::string name =
            longIndex >= 0 ? longName(id) : std::string("-") + static_cast<char>(id);
        if (auto problem = takeOption(
                id, name,
                optarg ? std::optional<std::string>(optarg) : std::optional<std::string>(),
                settings)) {
            return problem;
        }
    }
    const std::vector<std::string> positional(argv.begin() + optind, argv.end() - 1);
    if (settings.help || settings.version) {
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
    settings.targets.scriptName = settings.script == "-"
                                      ? std::string("stdin")
                                      : std::filesystem::path(settings.script).stem().string();
    if (settings.jobs != 1 && !settings.textSeeds) {
        return std::string(
            "-j with more than one thread needs --seed and --text-seeds: otherwise each text "
            "goes on from the one before, and the texts would depend on the threads' timing");
    }
    if (settings.first - 1 > std::numeric_limits<std::uint64_t>::max() - settings.count) {
        return std::string("--first and -n go beyond text 18446744073709551615");
    }
    settings.targets.firstIndex = settings.first;
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

// Why the script cannot be read, or nothing; the engine itself would quietly read it as empty.
// A pipe or a terminal is a `stream`: it can be read only once.
std::optional<std::string> unreadableReason(const std::filesystem::path& script, bool& stream) {
    std::error_code error;
    const auto status = std::filesystem::status(script, error);
    if (error) {
        return error.message();
    }
    if (std::filesystem::is_directory(status)) {
        return "it is a folder";
    }
    stream = std::filesystem::is_fifo(status) || std::filesystem::is_character_file(status) ||
             std::filesystem::is_socket(status);
    if (!stream && !std::filesystem::is_regular_file(status)) {
        return "it is not a regular file";
    }
    if (::access(script.c_str(), R_OK) != 0) {
        return std::strerror(errno);
    }
    return std::nullopt;
}

}  // namespace

int runKorvexGen(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    Settings settings;
    if (auto problem = parseArgs(args, settings)) {
        err << "korvex-gen: " << *problem << "\nTry 'korvex-gen --help'.\n";
        return kUsageError;
    }
    if (settings.help || settings.version) {
        TextOutput shown(out);
        shown.write(settings.help ? kUsage : "korvex-gen (Korvex5) " KORVEX_VERSION "\n");
        shown.flush();
        if (shown.failed()) {
            err << "korvex-gen: cannot write the " << (settings.help ? "help" : "version") << ": "
                << shown.reason() << '\n';
            return 1;
        }
        return 0;
    }
    // Standard input, a pipe or a terminal can be read only once, and the engine reads the
    // script again for every text: such a script is copied whole to a temporary file first.
    // Its jump targets and includes are then looked for from the current folder.
    bool stream = settings.script == "-";
    if (!stream) {
        if (auto reason = unreadableReason(settings.script, stream)) {
            err << "korvex-gen: cannot read " << settings.script << ": " << *reason << '\n';
            return 1;
        }
    }
    std::optional<ScriptCopy> copy;
    if (stream) {
        std::ifstream named;
        if (settings.script != "-") {
            named.open(settings.script, std::ios::binary);
        }
        std::string reason;
        copy = ScriptCopy::make(settings.script == "-" ? in : named, reason);
        if (!copy) {
            err << "korvex-gen: cannot read " << settings.script << ": " << reason << '\n';
            return 1;
        }
    }
    std::optional<std::filesystem::path> scriptFile;
    if (copy) {
        scriptFile = copy->path();
    }

    if (settings.check) {
        return runCheck(settings.script, scriptFile, out, err);
    }
    if (settings.all) {
        ListSettings list{
            settings.script,     settings.limit,   settings.stats, settings.nullSeparated,
            settings.similarity, settings.targets, scriptFile};
        return runList(list, out, err);
    }

    GenerateSettings generate;
    // Without a folder of its own, the script's jumps go to the current folder.
    generate.script = copy ? "-" : settings.script;
    generate.scriptFile = scriptFile;
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
    } else {
        generate.draw.firstDraw = settings.first;
    }
    generate.draw.keepChoices = settings.targets.any() || settings.workDir.has_value();
    generate.draw.threads =
        settings.jobs > 0 ? settings.jobs : std::max(1u, std::thread::hardware_concurrency());
    generate.draw.measure = settings.similarity;
    generate.separated = settings.countGiven || settings.unique > 0;
    generate.nullSeparated = settings.nullSeparated;
    generate.stats = settings.stats;
    generate.similarity = settings.similarity;
    generate.targets = settings.targets;
    return runGenerate(generate, in, out, err);
}

}  // namespace korvex::cli
