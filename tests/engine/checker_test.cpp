// The script checker: one golden table, script in, findings out, over files that exist only
// in the test.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/checker.h"

namespace korvex::engine {
namespace {

class FakeFiles : public CheckFiles {
public:
    FakeFiles(std::map<std::string, std::string> files, std::set<std::string> folders,
              std::set<std::string> devices)
        : files_(std::move(files)), folders_(std::move(folders)), devices_(std::move(devices)) {}

    FileKind kind(const std::filesystem::path& file) const override {
        const std::string name = file.lexically_normal().string();
        if (files_.contains(name)) {
            return FileKind::Regular;
        }
        if (folders_.contains(name)) {
            return FileKind::Folder;
        }
        return devices_.contains(name) ? FileKind::Other : FileKind::Missing;
    }
    std::optional<std::string> read(const std::filesystem::path& file) const override {
        const auto at = files_.find(file.lexically_normal().string());
        return at == files_.end() ? std::nullopt : std::optional(at->second);
    }

private:
    std::map<std::string, std::string> files_;
    std::set<std::string> folders_;
    std::set<std::string> devices_;
};

std::vector<std::string> findings(const std::string& script,
                                  const std::map<std::string, std::string>& files = {}) {
    CheckOptions options;
    options.includeFolder = "inc";
    options.jumpFolder = "/p";
    options.scriptFile = "/p/Main.ini";
    options.files = std::make_shared<FakeFiles>(
        files, std::set<std::string>{"inc/sub", "/p/Dir.ini"}, std::set<std::string>{"/dev/tty"});
    std::vector<std::string> lines;
    for (const Diagnostic& d : check(script, options)) {
        lines.push_back(std::to_string(d.line) + ":" + std::to_string(d.column) + ": " +
                        std::string(severityName(d.severity)) + ": " + d.message + " [" + d.code +
                        "]");
    }
    return lines;
}

std::string finding(std::string_view where, std::string_view message, std::string_view code) {
    return std::string(where) + ": " + std::string(message) + " [" + std::string(code) + "]";
}

std::string manyVariables(int count) {
    std::string script;
    for (int i = 0; i < count; ++i) {
        script += "\\v v" + std::to_string(i) + " = x\r\n";
    }
    return script;
}

TEST(Checker, GoldenFindings) {
    const std::map<std::string, std::string> someFiles{
        {"inc/there.txt", "included"},
        {"/p/Other.ini", "other"},
        {"/p/Main.ini", "the checked text stands for this"},
        {"/p/A.ini", "\\rnd\\ 3\r\n\\if\\ 2 = B\r\n"},
        {"/p/B.ini", "\\rnd\\ 2\r\n\\if\\ 1 = A\r\n"},
        {"/p/C.ini", "! a jump arrives with the draw at -1000\r\n\\if\\ 1 = A2\r\n"},
        {"/p/A2.ini", "\\rnd\\ 2\r\n\\if\\ 1 = C\r\n"},
    };
    const struct {
        const char* name;
        std::string script;
        std::vector<std::string> expected;
    } cases[] = {
        {"a script as meant gives nothing",
         "! note\r\n\\v name = Ann|Bob\r\n\\inp\\1_Who?_who\r\n"
         "Dear\\s\\{Sir|Madam}\\name\\,\\b\\\r\n    thanks\r\n    thank you\r\n"
         "\\i2\\ \\i3\\ \\who\\ \\date\\ \\time\\ \\^\\ C:\\Program Files\\x \\\\\r\n"
         "{a|b\r\n\r\n! an open block goes on through alternative lines\r\n    c|d}\r\n"
         "\\inc\\ there.txt\r\n\\rnd\\ 3\r\n\\if\\ 2 = Other\r\n\\end\\\r\n",
         {}},
        {"braces and bars",
         "H\xC3\xA9llo {a|b\r\nx}y\r\nfoo|bar\r\n{a|{b|c}}\r\n{a|b}|c\r\n    a}b|c\r\nlast {a",
         {finding("1:6: note",
                  "the space before \"{\" is dropped; write \"\\s\\\" for a space that stays",
                  "dropped-space"),
          finding("1:7: error",
                  "\"{\" is not closed: its last alternative runs to the end of the line",
                  "unclosed-brace"),
          finding("2:2: error", "\"}\" has no \"{\" before it: it only breaks the line",
                  "unmatched-brace"),
          finding("3:4: warning",
                  "\"|\" outside a block is dropped: the text after it becomes an alternative",
                  "bar-outside-block"),
          finding("4:4: warning",
                  "blocks do not nest: this \"{\" starts a new alternative of the same block",
                  "nested-brace"),
          finding("4:9: error", "\"}\" has no \"{\" before it: it only breaks the line",
                  "unmatched-brace"),
          finding("5:6: warning",
                  "\"|\" outside a block is dropped: the text after it becomes an alternative",
                  "bar-outside-block"),
          finding("6:6: error", "\"}\" has no \"{\" before it: it only breaks the line",
                  "unmatched-brace"),
          finding("6:8: warning",
                  "\"|\" outside a block is dropped: the text after it becomes an alternative",
                  "bar-outside-block"),
          finding("7:5: note",
                  "the space before \"{\" is dropped; write \"\\s\\\" for a space that stays",
                  "dropped-space"),
          finding("7:6: error",
                  "\"{\" is not closed: its last alternative runs to the end of the line",
                  "unclosed-brace")}},
        {"spaces beside blocks and at the ends of lines",
         "Hello {Ann|Bob} and welcome \r\n{a|b} {c|d} \r\nx  {a|b}  y\r\n {a}\r\n    kept \r\n"
         "\\msg\\ hi \r\n  \r\nstart not dropped here",
         {finding("1:6: note",
                  "the space before \"{\" is dropped; write \"\\s\\\" for a space that stays",
                  "dropped-space"),
          finding("1:16: note",
                  "the space after \"}\" is dropped; write \"\\s\\\" for a space that stays",
                  "dropped-space"),
          finding("1:28: note",
                  "the space at the end of the line is dropped; write \"\\s\\\" for a space "
                  "that stays",
                  "dropped-space"),
          finding("2:6: note",
                  "the space between \"}\" and \"{\" is dropped, and the blocks on either side "
                  "become one; write \"\\s\\\" for a space that stays",
                  "dropped-space"),
          finding("2:12: note",
                  "the space at the end of the line is dropped; write \"\\s\\\" for a space "
                  "that stays",
                  "dropped-space"),
          finding("4:1: note",
                  "the space before \"{\" is dropped; write \"\\s\\\" for a space that stays",
                  "dropped-space")}},
        {"draws and jumps",
         "\\if\\ 1 = Other\r\n\\if\\ 0 = Other\r\n\\rnd\\ x\r\n\\rnd\\ 0\r\n  \\rnd\\ 2.5\r\n"
         "\\if\\ 3 = Other\r\n\\if\\ 1\r\n\\if\\ y = Other\r\n\\if\\ 2 = Missing\r\n"
         "\\if\\ 1 = Dir\r\n",
         {finding("1:1: warning",
                  "\"\\if\\\" has no \"\\rnd\\\" above it: it compares with 0, so it never jumps",
                  "jump-without-draw"),
          finding("2:1: warning",
                  "\"\\if\\\" has no \"\\rnd\\\" above it: it compares with 0, so it always jumps",
                  "jump-without-draw"),
          finding("3:1: error",
                  "\"\\rnd\\\" needs a whole number from 1 to 32767: \"x\" is not one, so the draw "
                  "keeps the last bound",
                  "draw-bound"),
          finding("4:1: error", "\"\\rnd\\\" needs a bound of 1 or more, not 0", "draw-bound"),
          finding("5:3: warning", "\"\\rnd\\\" bound \"2.5\" is not whole: it is rounded to 2",
                  "draw-bound"),
          finding("6:1: warning",
                  "\"\\if\\ 3\" never matches: \"\\rnd\\ 2\" on line 5 draws 1 to 2", "jump-never"),
          finding("7:1: warning", "\"\\if\\\" has no target after \"=\": it never jumps",
                  "jump-no-target"),
          finding("8:1: error",
                  "\"\\if\\\" needs a whole number before \"=\": \"y\" is not one, so the last "
                  "number stays",
                  "jump-number"),
          finding("9:1: error",
                  "jump target \"Missing\" does not exist: there is no file \"/p/Missing.ini\"; a "
                  "jump there gives an empty text",
                  "jump-target"),
          finding(
              "10:1: error",
              "jump target \"Dir\" is not a file: \"/p/Dir.ini\"; a jump there gives an empty text",
              "jump-target")}},
        {"includes",
         "\\inc\\ gone.txt\r\n\\inc\\ sub\r\n\\inc\\\r\n\\inc\\ /dev/tty\r\n \\inc\\ there.txt\r\n"
         "    \\inc\\ there.txt\r\n",
         {finding("1:1: error", "included file \"inc/gone.txt\" does not exist: it adds nothing",
                  "include-missing"),
          finding("2:1: error", "included \"inc/sub\" is a folder: it adds nothing",
                  "include-not-file"),
          finding("3:1: error", "\"\\inc\\\" names no file", "include-missing"),
          finding("4:1: error", "included \"/dev/tty\" is not a regular file: it adds nothing",
                  "include-not-file"),
          finding("5:2: warning", "\\inc\\ acts only at the start of a line: here it stays as text",
                  "directive-position"),
          finding("6:5: warning", "\\inc\\ acts only at the start of a line: here it stays as text",
                  "directive-position")}},
        {"questions",
         "\\inp\\1_Name?_who\r\n\\inp\\1_Again?_what\r\n\\inp\\x_Q?_what\r\n"
         "\\inp\\200_Q?_far\r\n\\inp\\y_Q?_lost\r\n\\inp\\3_Only two\r\n\\inp\\4_Q?_\r\n"
         " \\INP\\5_Q?_ok\r\n\\who\\\\what\\\\far\\\\lost\\\\ok\\",
         {finding("2:1: warning",
                  "slot 1 is also used on line 1: this answer replaces that of \"who\"",
                  "input-slot-reused"),
          finding("3:1: warning", "slot \"x\" is not a number: the answer goes to slot 1",
                  "input-slot"),
          finding("4:1: error", "slot \"200\" is outside 0 to 99: the answer is not kept",
                  "input-slot"),
          finding("5:1: warning", "slot \"y\" is not a number: the answer is not kept",
                  "input-slot"),
          finding("6:1: error",
                  "\"\\inp\\\" needs a slot, a prompt and a name separated by \"_\": this line "
                  "keeps no answer",
                  "input-syntax"),
          finding("7:1: error",
                  "\"\\inp\\\" has no name after its second \"_\": its answer replaces nothing",
                  "input-syntax"),
          finding("8:2: warning", "slot \"\\INP\\5\" is not a number: the answer goes to slot 4",
                  "input-slot")}},
        {"variables",
         "\\v a = 1\r\n\\v a = 2\r\n\\v nothing\r\n\\verse\\ of a song\r\n\\v = x\r\n"
         "\\v b = \\c\\ \\a\\ \\zz\\\r\n\\v c = 3\r\n\\a\\\\b\\",
         {finding("2:1: warning", "\"a\" is already defined on line 1: the first definition wins",
                  "duplicate-variable"),
          finding("3:1: error",
                  "\"\\v\" line without \"=\": it defines nothing, and the line does not reach the "
                  "text",
                  "variable-syntax"),
          finding("4:1: error",
                  "\"\\v\" line without \"=\": it defines nothing, and the line does not reach the "
                  "text",
                  "variable-syntax"),
          finding("5:1: error", "the variable has no name before \"=\"", "variable-syntax"),
          finding("6:12: warning",
                  "\"a\" is defined before this value, so \\a\\ stays as text here",
                  "variable-order"),
          finding("6:16: warning",
                  "\\zz\\ is neither a marker, a variable nor an answer: it stays as text",
                  "unknown-name")}},
        {"the 101st variable",
         manyVariables(101),
         {finding("101:1: warning",
                  "only the first 100 \"\\v\" lines are kept: this one is dropped",
                  "variable-limit")}},
        {"names and block references",
         "Hi\\s\\{a|b}\\s\\\\b\\\\^\\\r\n"
         "\\unknown\\ \\i1\\ \\i9\\ \\i0\\ \\i07\\ \\i100\\ \\end\\ \\msg\\ \\S\\\r\n"
         "{\\i1\\|\\nope\\}\r\n",
         {finding("2:1: warning",
                  "\\unknown\\ is neither a marker, a variable nor an answer: it stays as text",
                  "unknown-name"),
          finding("2:16: warning", "\\i9\\ names no block: the blocks are numbered 0 to 3",
                  "reference-range"),
          finding("2:21: warning", "block 0 has no alternatives: \\i0\\ becomes empty",
                  "reference-empty"),
          finding("2:26: warning",
                  "\\i07\\ is not a block reference (0 to 99, no leading zero): it stays as text",
                  "reference-form"),
          finding("2:32: warning",
                  "\\i100\\ is not a block reference (0 to 99, no leading zero): it stays as text",
                  "reference-form"),
          finding("2:39: warning",
                  "\\end\\ acts only at the start of a line: here it stays as text",
                  "directive-position"),
          finding("2:45: warning",
                  "\\msg\\ acts only at the start of a line: here it stays as text",
                  "directive-position"),
          finding("2:51: warning",
                  "\\S\\ is neither a marker, a variable nor an answer: it stays as text",
                  "unknown-name"),
          finding("3:7: warning",
                  "\\nope\\ is neither a marker, a variable nor an answer: it stays as text",
                  "unknown-name")}},
        {"a reference without blocks",
         "\\i1\\",
         {finding("1:1: warning", "\\i1\\ names no block: the script has no blocks",
                  "reference-range")}},
        {"jumps that go round",
         "\\rnd\\ 2\r\n\\if\\ 1 = Other\r\n\\if\\ 2 = A\r\n",
         {finding("3:1: note",
                  "jumps can go round in a loop (A -> B -> A): after 1000 jumps the generation "
                  "stops jumping",
                  "jump-loop")}},
        {"a jump back to the script itself",
         "\\rnd\\ 2\r\n\\if\\ 1 = Main\r\n",
         {finding("2:1: note",
                  "jumps can go round in a loop (Main -> Main): after 1000 jumps the generation "
                  "stops jumping",
                  "jump-loop")}},
        {"a chain that cannot come back", "\\rnd\\ 2\r\n\\if\\ 1 = C\r\n", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(findings(c.script, someFiles), c.expected) << c.name;
    }
}

TEST(Checker, StopsListingAfterAThousandFindings) {
    const auto found = check(std::string(1500, '}') + "\r\nx|y", {});
    ASSERT_EQ(found.size(), kMaxFindings + 1);
    EXPECT_EQ(found[999].column, 1000u);
    EXPECT_EQ(found.back(), (Diagnostic{0, 0, Severity::Note, "too-many",
                                        "only the first 1000 findings are listed"}));
}

}  // namespace
}  // namespace korvex::engine
