#include "cli/korvex_gen.h"

#include <cerrno>
#include <charconv>
#include <climits>
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
#include "engine/generate.h"
#include "engine/text_set.h"

namespace korvex::cli {
namespace {

// --unique gives up after this many generations for each text asked for.
constexpr long long kDrawsPerUniqueText = 100;

constexpr const char* kUsage =
    "Usage: korvex-gen [options] SCRIPT\n"
    "Generates a text from the script file SCRIPT and writes it to standard output.\n"
    "\n"
    "  -n, --count N     generate N texts, each followed by a line feed\n"
    "      --unique N    generate N texts that all differ, each followed by a line feed; gives\n"
    "                    up after 100 x N generations and says how many it found (the texts\n"
    "                    written are kept in memory to compare with)\n"
    "      --all         write every different text of SCRIPT once, each followed by a line\n"
    "                    feed, in a fixed order: the last block or variable changes fastest.\n"
    "                    For scripts whose choices are blocks and variables with \"|\" (no\n"
    "                    \\rnd\\, \\if\\, \\inp\\, \\date\\ or \\time\\). Keeps no texts: at most\n"
    "                    64 bytes per text written tell them apart (4 MiB for 65,536 texts)\n"
    "      --limit N     with --all: write at most N texts (default 10000), and make at most\n"
    "                    100 x N combinations\n"
    "      --check       check SCRIPT without generating; one finding a line on standard\n"
    "                    output: FILE:LINE:COLUMN: error|warning|note: message [code]. The\n"
    "                    exit status is 1 when a finding is an error\n"
    "  -0, --null        follow each text by a NUL byte instead of a line feed\n"
    "      --seed N      reproducible runs: the same script, seed and answers give the same text\n"
    "      --answer TEXT answer the next input question with TEXT (repeatable); further\n"
    "                    questions are answered from standard input, one line each\n"
    "      --stats       write the item and variant counts to standard error after each text;\n"
    "                    with --all, the texts written and the exact number of combinations,\n"
    "                    once at the end\n"
    "      --work-dir DIR  write the working files Temp.txt and Temp/<n>.txt under DIR\n"
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
    long long count = 1;
    long long unique = 0;  ///< 0: texts may repeat
    std::uint64_t limit = 10'000;
    bool countGiven = false;
    bool all = false;
    bool check = false;
    bool nullSeparated = false;
    bool stats = false;
    bool help = false;
};

template <typename T>
bool parseNumber(const std::string& text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

// The modes exclude one another, and each takes only the options that mean something to it.
std::optional<std::string> conflictingOptions(const std::vector<std::string>& given) {
    const std::set<std::string> modes{"--count", "--unique", "--all", "--check"};
    const std::map<std::string, std::set<std::string>> companions{
        {"", {"--null", "--seed", "--answer", "--stats", "--work-dir"}},
        {"--count", {"--null", "--seed", "--answer", "--stats", "--work-dir"}},
        {"--unique", {"--null", "--seed", "--answer", "--stats"}},
        {"--all", {"--limit", "--null", "--stats"}},
        {"--check", {}},
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
        if (option == "--limit") {
            return std::string("--limit goes with --all");
        }
        return option + " cannot be used with " + (mode.empty() ? "--count" : mode);
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
        } else if (arg == "-n" || arg == "--count") {
            const auto text = value();
            if (!text || !parseNumber(*text, settings.count) || settings.count < 1) {
                return arg + " needs a whole number of at least 1";
            }
            settings.countGiven = true;
        } else if (arg == "--unique") {
            const auto text = value();
            if (!text || !parseNumber(*text, settings.unique) || settings.unique < 1) {
                return arg + " needs a whole number of at least 1";
            }
        } else if (arg == "--limit") {
            const auto text = value();
            if (!text || !parseNumber(*text, settings.limit) || settings.limit < 1) {
                return arg + " needs a whole number of at least 1";
            }
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
        } else {
            return "unknown option " + args[i];
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
    return std::nullopt;
}

// The texts --unique wrote, kept to tell a new one from them byte for byte.
class WrittenTexts {
public:
    bool addIfNew(const std::string& text) {
        const bool added =
            seen_.insert(engine::TextSet::hash(text), spans_.size(), [&](auto other) {
                const auto [at, size] = spans_[other];
                return std::string_view(kept_).substr(at, size) == text;
            });
        if (added) {
            spans_.emplace_back(kept_.size(), text.size());
            kept_ += text;
        }
        return added;
    }

private:
    engine::TextSet seen_;
    std::string kept_;
    std::vector<std::pair<std::size_t, std::size_t>> spans_;
};

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
        return runList({settings.script, settings.limit, settings.stats, settings.nullSeparated},
                       out, err);
    }

    engine::Options options;
    options.scriptFile = script;
    options.jumpFolder = script.has_parent_path() ? script.parent_path() : ".";
    engine::Random random = settings.seed ? engine::Random(*settings.seed) : engine::Random();
    TextOutput text(out);
    CommandLineHost host(std::move(settings.answers), in, text, err);
    // One generator for all texts: its memory serves every generation.
    engine::Generator generator(options, host, random);

    auto lost = [&] {
        err << "korvex-gen: cannot write the text: " << text.reason() << '\n';
        return 1;
    };
    const long long wanted = settings.unique > 0 ? settings.unique : settings.count;
    const long long maxDraws =
        settings.unique == 0
            ? wanted
            : (wanted > LLONG_MAX / kDrawsPerUniqueText ? LLONG_MAX : wanted * kDrawsPerUniqueText);
    WrittenTexts writtenTexts;
    long long written = 0;
    long long draws = 0;
    for (; written < wanted && draws < maxDraws; ++draws) {
        const engine::GenerationResult& result = generator.generate(settings.script);
        if (settings.unique > 0 && !writtenTexts.addIfNew(result.text)) {
            continue;
        }
        ++written;
        text.write(result.text);
        if (settings.countGiven || settings.unique > 0) {
            text.put(settings.nullSeparated ? '\0' : '\n');
        }
        if (text.failed()) {
            return lost();
        }
        if (!result.warnings.empty() || settings.stats) {
            text.flush();
            if (text.failed()) {
                return lost();
            }
        }
        for (const auto& warning : result.warnings) {
            err << "korvex-gen: warning: " << warning.text << '\n';
        }
        if (settings.stats) {
            err << "N. Items   : " << result.alternativeCount << '\n'
                << "N. Variants: " << result.variantCount.decimal() << '\n';
        }
        if (settings.workDir) {
            const auto saved = engine::writeWorkingFiles(result.record, *settings.workDir, true);
            if (!saved) {
                text.flush();
                err << "korvex-gen: " << saved.message() << '\n';
                return 1;
            }
        }
    }
    text.flush();
    if (text.failed()) {
        return lost();
    }
    if (written < wanted) {
        err << "korvex-gen: only " << written << " different texts came in " << draws
            << " generations (" << wanted << " were asked for)\n";
    }
    return 0;
}

}  // namespace korvex::cli
