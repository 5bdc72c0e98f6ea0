#include "cli/korvex_gen.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <deque>
#include <istream>
#include <optional>
#include <ostream>

#include "engine/generate.h"
#include "store/text_codec.h"

namespace korvex::cli {
namespace {

constexpr const char* kUsage =
    "Usage: korvex-gen [options] SCRIPT\n"
    "Generates a text from the script file SCRIPT and writes it to standard output.\n"
    "\n"
    "  -n, --count N     generate N texts, each followed by a line feed\n"
    "  -0, --null        follow each text by a NUL byte instead of a line feed\n"
    "      --seed N      reproducible runs: the same script, seed and answers give the same text\n"
    "      --answer TEXT answer the next input question with TEXT (repeatable); further\n"
    "                    questions are answered from standard input, one line each\n"
    "      --stats       write the item and variant counts to standard error after each text\n"
    "      --work-dir DIR  write the working files Temp.txt and Temp/<n>.txt under DIR\n"
    "  -h, --help        show this help\n"
    "\n"
    "Messages go to standard error. Jump targets are read from SCRIPT's folder as <target>.ini;\n"
    "relative include paths start in the current folder.\n";

struct Settings {
    std::string script;
    long long count = 1;
    bool countGiven = false;
    bool nullSeparated = false;
    std::optional<std::uint64_t> seed;
    std::deque<std::string> answers;
    bool stats = false;
    std::optional<std::string> workDir;
    bool help = false;
};

template <typename T>
bool parseNumber(const std::string& text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
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
        } else if (arg == "-n" || arg == "--count") {
            const auto text = value();
            if (!text || !parseNumber(*text, settings.count) || settings.count < 1) {
                return arg + " needs a whole number of at least 1";
            }
            settings.countGiven = true;
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
    }
    if (settings.help) {
        return std::nullopt;
    }
    if (positional.size() != 1) {
        return positional.empty() ? "no SCRIPT given" : "only one SCRIPT can be given";
    }
    settings.script = positional.front();
    return std::nullopt;
}

// The texts on standard output, gathered into large writes. Anything written to standard error
// first flushes what waits, so on a terminal the two still appear in order. A write that fails
// is kept with the system's reason: a lost text must never end in success.
class TextOutput {
public:
    explicit TextOutput(std::ostream& out) : out_(out) {}

    void write(std::string_view text) {
        errno = 0;
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        check();
    }
    void put(char c) {
        errno = 0;
        out_.put(c);
        check();
    }
    void flush() {
        errno = 0;
        out_.flush();
        check();
    }
    bool failed() const { return failed_; }
    const std::string& reason() const { return reason_; }

private:
    void check() {
        if (!out_ && !failed_) {
            failed_ = true;
            reason_ = errno != 0 ? std::strerror(errno) : "the output stream failed";
        }
    }

    std::ostream& out_;
    bool failed_ = false;
    std::string reason_;
};

// Answers come from the --answer options first, then from standard input; the end of the
// input answers as Cancel.
class CommandLineHost : public engine::Host {
public:
    CommandLineHost(std::deque<std::string> answers, std::istream& in, TextOutput& out,
                    std::ostream& err)
        : answers_(std::move(answers)), in_(in), out_(out), err_(err) {}

    void showMessage(std::string_view text) override {
        out_.flush();
        err_ << text << '\n' << std::flush;
    }

    std::optional<std::string> askInput(std::string_view prompt) override {
        if (!answers_.empty()) {
            std::string answer = std::move(answers_.front());
            answers_.pop_front();
            return store::decode(std::move(answer)).text;
        }
        out_.flush();
        err_ << prompt << (prompt.empty() || prompt.back() == ' ' ? "" : " ") << std::flush;
        std::string line;
        if (!std::getline(in_, line)) {
            err_ << '\n';
            return std::nullopt;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return store::decode(std::move(line)).text;
    }

    std::string dateText() override { return now("%x"); }
    std::string timeText() override { return now("%X"); }

private:
    static std::string now(const char* format) {
        const std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        char buffer[128];
        const auto size = std::strftime(buffer, sizeof buffer, format, &local);
        return store::decode(std::string(buffer, size)).text;
    }

    std::deque<std::string> answers_;
    std::istream& in_;
    TextOutput& out_;
    std::ostream& err_;
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
    for (long long n = 0; n < settings.count; ++n) {
        const engine::GenerationResult& result = generator.generate(settings.script);
        text.write(result.text);
        if (settings.countGiven) {
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
            const auto written = engine::writeWorkingFiles(result.record, *settings.workDir, true);
            if (!written) {
                text.flush();
                err << "korvex-gen: " << written.message() << '\n';
                return 1;
            }
        }
    }
    text.flush();
    if (text.failed()) {
        return lost();
    }
    return 0;
}

}  // namespace korvex::cli
