// The shipped examples: each one generates cleanly through the engine, together they show every
// feature of the script language, and the scripts avoid the mistakes the language makes easy.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/generate.h"
#include "shipped_files.h"

namespace korvex::testing {
namespace {

constexpr std::string_view kDate = "17.05.2031";
constexpr std::string_view kTime = "08:15:42";
constexpr std::uint64_t kSeeds = 40;
constexpr std::uint64_t kJumpSeeds = 200;

/// Answers the n-th question of a generation with "Answer" and the n-th capital letter, so each
/// answer can be found in the text, and records everything the engine showed or did.
class AnsweringHost : public engine::Host {
public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::optional<std::string> askInput(std::string_view prompt) override {
        prompts.emplace_back(prompt);
        return answerFor(prompts.size());
    }
    std::string dateText() override { return std::string(kDate); }
    std::string timeText() override { return std::string(kTime); }
    void jumped(std::string_view newPath, std::string_view target) override {
        (void)newPath;
        jumps.emplace_back(target);
    }

    static std::string answerFor(std::size_t n) {
        return "Answer" + std::string(1, static_cast<char>('A' + (n - 1) % 26));
    }

    std::vector<std::string> messages;
    std::vector<std::string> prompts;
    std::vector<std::string> jumps;
};

struct Example {
    std::string name;
    std::vector<std::string> lines;  ///< every line of the script file
};

Example loadExample(const std::string& name) {
    const auto bytes = readBytes(appSourceFolder() / "Examples" / (name + ".ini"));
    return Example{name, splitCrLfLines(bytes)};
}

bool isComment(std::string_view line) {
    return trimSpaces(line).starts_with('!');
}

bool isBlank(std::string_view line) {
    return trimSpaces(line).empty();
}

// Lines the reading pass acts on before it transforms a line: they hold no text.
bool isReadingDirective(std::string_view line) {
    const auto t = trimSpaces(line);
    return t.starts_with("\\v") || t.starts_with("\\rnd\\") || t.starts_with("\\if\\") ||
           t.starts_with("\\end\\");
}

bool isVariable(std::string_view line) {
    return trimSpaces(line).starts_with("\\v") && line.find('=') != std::string_view::npos;
}

bool isMultiValueVariable(std::string_view line) {
    return isVariable(line) && line.find('|', line.find('=')) != std::string_view::npos;
}

bool hasBraceBlock(std::string_view line) {
    const auto open = line.find('{');
    return !isReadingDirective(line) && open != std::string_view::npos &&
           line.find('|', open) != std::string_view::npos;
}

bool isIndentedAlternative(std::string_view line) {
    return line.starts_with("    ") && !isReadingDirective(line);
}

const std::regex& blockReferencePattern() {
    static const std::regex pattern(R"(\\i([0-9]+)\\)");
    return pattern;
}

bool hasBlockReference(std::string_view line) {
    const std::string text(line);
    return std::regex_search(text, blockReferencePattern());
}

bool isDraw(std::string_view line) {
    return trimSpaces(line).starts_with("\\rnd\\");
}

bool isJump(std::string_view line) {
    return trimSpaces(line).starts_with("\\if\\") && line.find('=') != std::string_view::npos;
}

bool isMessage(std::string_view line) {
    return line.starts_with("\\msg\\");
}

bool isQuestion(std::string_view line) {
    return korvex::ascii::toLower(trimSpaces(line)).starts_with("\\inp\\");
}

bool isInclude(std::string_view line) {
    return line.starts_with("\\inc\\");
}

bool hasMarker(std::string_view line, std::string_view marker) {
    return !isReadingDirective(line) && line.find(marker) != std::string_view::npos;
}

/// The non-blank, non-comment lines of a script: the ones that do something.
std::vector<std::string> activeLines(const Example& example) {
    std::vector<std::string> lines;
    for (const auto& line : example.lines) {
        if (!isBlank(line) && !isComment(line)) {
            lines.push_back(line);
        }
    }
    return lines;
}

/// The jump targets of a script's `\if\` lines.
std::vector<std::string> jumpTargets(const Example& example) {
    std::vector<std::string> targets;
    for (const auto& line : activeLines(example)) {
        if (isJump(line)) {
            const std::string_view l(line);
            targets.emplace_back(trimSpaces(l.substr(l.find('=') + 1)));
        }
    }
    return targets;
}

/// The paths of a script's `\inc\` lines, as written.
std::vector<std::string> includePaths(const Example& example) {
    std::vector<std::string> paths;
    for (const auto& line : activeLines(example)) {
        if (isInclude(line)) {
            paths.emplace_back(trimSpaces(std::string_view(line).substr(5)));
        }
    }
    return paths;
}

std::filesystem::path includedFile(const std::string& pathText) {
    std::string relative = pathText;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return appSourceFolder() / relative;
}

/// The text an included file adds: each of its lines followed by CR LF.
std::string includedText(const std::string& pathText) {
    std::string text;
    for (const auto& line : splitCrLfLines(readBytes(includedFile(pathText)))) {
        text += line + "\r\n";
    }
    return text;
}

std::set<int> blockReferences(const Example& example) {
    std::set<int> numbers;
    for (const auto& line : activeLines(example)) {
        for (std::sregex_iterator it(line.begin(), line.end(), blockReferencePattern()), end;
             it != end; ++it) {
            numbers.insert(std::stoi((*it)[1].str()));
        }
    }
    return numbers;
}

bool usesMarker(const Example& example, std::string_view marker) {
    for (const auto& line : activeLines(example)) {
        if (hasMarker(line, marker)) {
            return true;
        }
    }
    return false;
}

engine::GenerationResult generateExample(const std::string& name, std::uint64_t seed,
                                         AnsweringHost& host) {
    engine::Options options;
    options.appFolder = appSourceFolder();
    engine::Random random(seed);
    return engine::generate("Examples\\" + name, options, host, random);
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

// ---------------------------------------------------------------------------------------------
// The set of examples as a whole.

TEST(ShippedExamples, AreAtLeastEightIncludingWelcome) {
    const auto names = shippedExampleNames();
    EXPECT_GE(names.size(), 8u);
    EXPECT_NE(std::find(names.begin(), names.end(), "Welcome"), names.end());
}

// `./dev run` prints Welcome without anyone to answer, so it must ask and show nothing.
TEST(ShippedExamples, WelcomeNeedsNobodyToAnswer) {
    const auto welcome = loadExample("Welcome");
    for (const auto& line : activeLines(welcome)) {
        EXPECT_FALSE(isQuestion(line) || isMessage(line)) << line;
    }
    AnsweringHost host;
    const auto result = generateExample("Welcome", 1, host);
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(result.text.empty());
}

struct Feature {
    const char* name;
    bool (*shownBy)(std::string_view line);
};

class LanguageFeature : public ::testing::TestWithParam<Feature> {};

TEST_P(LanguageFeature, OccursInSomeExample) {
    const Feature& feature = GetParam();
    std::vector<std::string> users;
    for (const auto& name : shippedExampleNames()) {
        for (const auto& line : activeLines(loadExample(name))) {
            if (feature.shownBy(line)) {
                users.push_back(name);
                break;
            }
        }
    }
    EXPECT_FALSE(users.empty()) << "no example shows " << feature.name;
}

INSTANTIATE_TEST_SUITE_P(
    ShippedExamples, LanguageFeature,
    ::testing::Values(
        Feature{"a block in braces", hasBraceBlock},
        Feature{"a block of indented lines", isIndentedAlternative},
        Feature{"a variable", isVariable},
        Feature{"a variable with several values", isMultiValueVariable},
        Feature{"a block reference", hasBlockReference}, Feature{"a draw", isDraw},
        Feature{"a jump", isJump}, Feature{"a message", isMessage},
        Feature{"a question", isQuestion}, Feature{"an included file", isInclude},
        Feature{"a space marker", [](std::string_view l) { return hasMarker(l, "\\s\\"); }},
        Feature{"a line break", [](std::string_view l) { return hasMarker(l, "\\b\\"); }},
        Feature{"an empty marker", [](std::string_view l) { return hasMarker(l, "\\^\\"); }},
        Feature{"the date", [](std::string_view l) { return hasMarker(l, "\\date\\"); }},
        Feature{"the time", [](std::string_view l) { return hasMarker(l, "\\time\\"); }}),
    [](const ::testing::TestParamInfo<Feature>& info) {
        std::string name;
        for (const char* c = info.param.name; *c != '\0'; ++c) {
            if (std::isalnum(static_cast<unsigned char>(*c))) {
                name += *c;
            }
        }
        return name;
    });

// Each jump goes to another shipped example, and over enough draws it is taken: the generation
// then carries the target as its caption and the target's text.
TEST(ShippedExamples, JumpsReachTheirTargets) {
    const auto names = shippedExampleNames();
    int jumpingExamples = 0;
    for (const auto& name : names) {
        const auto targets = jumpTargets(loadExample(name));
        if (targets.empty()) {
            continue;
        }
        ++jumpingExamples;
        for (const auto& target : targets) {
            SCOPED_TRACE(std::string(name).append(" -> ").append(target));
            ASSERT_NE(target, name);
            ASSERT_NE(std::find(names.begin(), names.end(), target), names.end());
            std::uint64_t reached = 0;
            std::uint64_t stayed = 0;
            for (std::uint64_t seed = 1; seed <= kJumpSeeds; ++seed) {
                AnsweringHost host;
                const auto result = generateExample(name, seed, host);
                if (host.jumps.empty()) {
                    EXPECT_FALSE(result.caption);
                    ++stayed;
                } else if (host.jumps.front() == target) {
                    ++reached;
                    ASSERT_TRUE(result.caption);
                    EXPECT_EQ(result.caption, host.jumps.back());
                    EXPECT_EQ(result.projectPath, "Examples\\" + *result.caption);
                    EXPECT_FALSE(trimSpaces(result.text).empty());
                }
            }
            EXPECT_GT(reached, 0u);
            EXPECT_GT(stayed, 0u) << "the jump is taken every time";
        }
    }
    EXPECT_GE(jumpingExamples, 2) << "two examples should jump to each other";
}

// ---------------------------------------------------------------------------------------------
// Each example.

class ShippedExample : public ::testing::TestWithParam<std::string> {};

// The language makes some mistakes silent: the text just comes out wrong. These checks catch
// them in the script itself.
TEST_P(ShippedExample, ScriptAvoidsSilentMistakes) {
    const Example example = loadExample(GetParam());
    ASSERT_FALSE(example.lines.empty());
    std::set<std::string> answerNames;
    for (const auto& line : example.lines) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(line.ends_with(' ')) << "trailing spaces are invisible and kept";
        if (isBlank(line) || isComment(line)) {
            continue;
        }
        const auto t = trimSpaces(line);
        // \msg\ and \inc\ act only at the very start of a line; indented they become text.
        EXPECT_FALSE((t.starts_with("\\msg\\") || t.starts_with("\\inc\\")) &&
                     !line.starts_with('\\'));
        if (isQuestion(line)) {
            std::string fields(trimSpaces(std::string_view(line).substr(5)));
            std::vector<std::string> parts;
            for (std::size_t start = 0;;) {
                const auto end = fields.find('_', start);
                parts.push_back(fields.substr(start, end - start));
                if (end == std::string::npos) {
                    break;
                }
                start = end + 1;
            }
            ASSERT_EQ(parts.size(), 3u) << "slot_question_name";
            const int slot = std::stoi(parts[0]);
            EXPECT_TRUE(slot >= 0 && slot <= 99);
            answerNames.insert(std::string(trimSpaces(parts[2])));
        }
        if (isReadingDirective(line) || isMessage(line) || isQuestion(line) || isInclude(line)) {
            continue;
        }
        // Pieces of a text line outside braces are trimmed, so a space beside a brace is lost.
        EXPECT_EQ(line.find(" {"), std::string::npos) << "use \\s\\ before the brace";
        EXPECT_EQ(line.find("} "), std::string::npos) << "use \\s\\ after the brace";
        // After "}" a piece that starts with "!" becomes a comment line and vanishes.
        for (auto close = line.find('}'); close != std::string::npos;
             close = line.find('}', close + 1)) {
            const auto piece = std::string_view(line).substr(close + 1);
            EXPECT_FALSE(trimSpaces(piece.substr(0, piece.find_first_of("{|"))).starts_with('!'))
                << "text after a closing brace starts with \"!\"";
        }
    }
    for (const auto& name : answerNames) {
        bool used = false;
        for (const auto& line : activeLines(example)) {
            used =
                used || (!isQuestion(line) && line.find("\\" + name + "\\") != std::string::npos);
        }
        EXPECT_TRUE(used) << "the answer " << name << " is asked for but never used";
    }
    for (const auto& path : includePaths(example)) {
        EXPECT_TRUE(std::filesystem::is_regular_file(includedFile(path))) << path;
    }
}

TEST_P(ShippedExample, GeneratesCleanly) {
    const std::string name = GetParam();
    for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        AnsweringHost host;
        const auto result = generateExample(name, seed, host);
        EXPECT_TRUE(result.warnings.empty()) << result.warnings.front().text;
        ASSERT_FALSE(trimSpaces(result.text).empty());

        // A jump hands the generation to another example: check the script that made the text.
        ASSERT_TRUE(result.projectPath.starts_with("Examples\\")) << result.projectPath;
        const Example made = loadExample(result.projectPath.substr(9));
        if (result.caption) {
            EXPECT_EQ(made.name, *result.caption);
        } else {
            EXPECT_EQ(made.name, name);
        }

        // Included text arrives whole; the rest of the text is the script's own.
        std::string own = result.text;
        for (const auto& path : includePaths(made)) {
            const std::string included = includedText(path);
            ASSERT_FALSE(included.empty()) << path;
            const auto at = own.find(included);
            ASSERT_NE(at, std::string::npos) << "the text of " << path << " did not arrive";
            own.erase(at, included.size());
        }

        // Nothing of the script's syntax is left over.
        for (std::string_view leftover : {"\\", "[.dot4.]", "[.dot2.]", "{", "|", "}"}) {
            EXPECT_EQ(own.find(leftover), std::string::npos) << leftover << " in\n" << own;
        }
        // Words joined without a space, or spaces doubled, show as sloppy text.
        EXPECT_EQ(own.find("  "), std::string::npos) << own;
        for (std::string_view spaced : {" ,", " .", " ;", " :", " !", " ?"}) {
            EXPECT_EQ(own.find(spaced), std::string::npos) << "\"" << spaced << "\" in\n" << own;
        }
        for (std::size_t at = own.find_first_of(",;"); at != std::string::npos;
             at = own.find_first_of(",;", at + 1)) {
            EXPECT_FALSE(at + 1 < own.size() &&
                         std::isalpha(static_cast<unsigned char>(own[at + 1])))
                << "no space after \"" << own[at] << "\" in\n"
                << own;
        }
        for (const auto& line : splitCrLfLines(own)) {
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF";
            EXPECT_FALSE(line.starts_with(' ') || line.ends_with(' ')) << "[" << line << "]";
        }

        for (std::size_t n = 1; n <= host.prompts.size(); ++n) {
            EXPECT_FALSE(trimSpaces(host.prompts[n - 1]).empty());
            EXPECT_NE(result.text.find(AnsweringHost::answerFor(n)), std::string::npos)
                << "the answer to \"" << host.prompts[n - 1] << "\" does not reach the text";
        }
        for (const auto& message : host.messages) {
            EXPECT_FALSE(trimSpaces(message).empty());
            EXPECT_EQ(message.find("[.dot"), std::string::npos) << message;
        }
        if (usesMarker(made, "\\date\\")) {
            EXPECT_NE(result.text.find(kDate), std::string::npos);
        }
        if (usesMarker(made, "\\time\\")) {
            EXPECT_NE(result.text.find(kTime), std::string::npos);
        }
        // A block reference to a number without alternatives would silently vanish.
        for (int block : blockReferences(made)) {
            EXPECT_GT(result.record.alternativesOf(static_cast<std::size_t>(block)), 0u)
                << "\\i" << block << "\\ names no block";
        }
    }
}

// Different seeds give different texts: the examples are there to show variety.
TEST_P(ShippedExample, VariesFromSeedToSeed) {
    std::set<std::string> texts;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        AnsweringHost host;
        texts.insert(generateExample(GetParam(), seed, host).text);
    }
    EXPECT_GE(texts.size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Examples, ShippedExample, ::testing::ValuesIn(shippedExampleNames()),
                         testName);

}  // namespace
}  // namespace korvex::testing
