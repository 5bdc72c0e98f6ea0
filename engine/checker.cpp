#include "engine/checker.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <set>

#include "engine/assembling.h"
#include "engine/finishing.h"
#include "engine/inline_names.h"
#include "engine/jump_loops.h"
#include "engine/markers.h"
#include "engine/reading.h"
#include "engine/script_file.h"
#include "engine/splitting.h"
#include "engine/text.h"

namespace korvex::engine {
namespace {

// Where a finding points: a line from 1 and the byte it starts at.
struct Place {
    std::size_t line = 0;
    const char* lineBegin = nullptr;
    const char* at = nullptr;
};

// A piece of script text that reaches the finished text, whose "\name\" forms are looked at
// once every variable and answer is known.
struct NamedText {
    Place start;
    const char* end;
    std::optional<std::size_t> variableSlot;  ///< the value of this `\v` slot
};

struct VariableName {
    std::string_view name;
    std::size_t slot;
    std::size_t line;
};

struct BlockReference {
    Place place;
    std::size_t block;
    std::string_view text;
};

std::string inQuotes(std::string_view text) {
    std::string q = "\"";
    q += text;
    q += '"';
    return q;
}

// "\name\" as the script writes it.
std::string escaped(std::string_view name) {
    std::string e = "\\";
    e += name;
    e += '\\';
    return e;
}

class Checker {
public:
    Checker(std::string_view script, const CheckOptions& options)
        : script_(script), options_(options), files_(options.files ? *options.files : disk_) {}

    std::vector<Diagnostic> run() {
        const char* p = script_.data();
        const char* const end = p + script_.size();
        std::size_t lineNumber = 0;
        while (p < end) {
            const char* lineBegin = p;
            const std::string_view line = nextScriptLine(p, end);
            readLine(line, Place{++lineNumber, lineBegin, lineBegin});
        }
        if (pendingOpen_) {
            unclosed(*pendingOpen_);
        }
        splitBlocks(record_);
        for (const NamedText& text : namedTexts_) {
            checkNames(text);
        }
        checkReferences();
        checkJumpLoops();
        std::stable_sort(found_.begin(), found_.end(), [](const auto& a, const auto& b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
        // The note speaks of the list, not of a place in the script: it has none (line 0),
        // and it comes last.
        if (dropped_) {
            found_.push_back(
                {0, 0, Severity::Note, "too-many",
                 "only the first " + std::to_string(kMaxFindings) + " findings are listed"});
        }
        return std::move(found_);
    }

private:
    void add(const Place& place, Severity severity, std::string code, std::string message) {
        if (found_.size() >= kMaxFindings) {
            dropped_ = true;
            return;
        }
        found_.push_back(
            {place.line, columnOf(place), severity, std::move(code), std::move(message)});
    }

    // Characters, not bytes: a UTF-8 continuation byte starts none. Counted on from the last
    // place asked for when it is earlier on the same line, so a line of many findings is read
    // once, not once a finding.
    std::size_t columnOf(const Place& place) {
        const char* from = place.lineBegin;
        std::size_t column = 1;
        if (lastColumn_.lineBegin == place.lineBegin && lastColumn_.at <= place.at) {
            from = lastColumn_.at;
            column = lastColumn_.column;
        }
        for (const char* c = from; c < place.at; ++c) {
            column += (static_cast<unsigned char>(*c) & 0xC0) != 0x80 ? 1 : 0;
        }
        lastColumn_ = {place.lineBegin, place.at, column};
        return column;
    }

    static Place at(const Place& line, const char* where) {
        return {line.line, line.lineBegin, where};
    }

    static const char* firstNonSpace(std::string_view text) {
        const auto lead = text.find_first_not_of(' ');
        return text.data() + (lead == std::string_view::npos ? text.size() : lead);
    }

    void readLine(std::string_view line, const Place& place) {
        const ScriptLine read = readScriptLine(line);
        const Place directive = at(place, firstNonSpace(line));
        switch (read.kind) {
            case ScriptLineKind::Skipped:
            case ScriptLineKind::End:
                return;  // consumed: a block goes on past them
            case ScriptLineKind::Variable:
                defineVariable(read.argument, directive);
                return;
            case ScriptLineKind::Draw:
                checkDraw(read.argument, directive);
                break;
            case ScriptLineKind::Jump:
                checkJump(read.argument, directive);
                break;
            case ScriptLineKind::Plain:
                break;
        }
        const std::size_t first = record_.lineCount();
        appendWorkingLines(line, read.kind != ScriptLineKind::Plain, record_);
        readPieces(line, place, first);
    }

    // The pieces of a line between braces and bars are its working lines, one each.
    void readPieces(std::string_view line, const Place& place, std::size_t first) {
        std::optional<Place> open;  // the "{" of the block this line is inside
        if (pendingOpen_) {
            // A block left open goes on only through the alternative lines that follow it.
            if (record_.kinds[first] == LineKind::Alternative) {
                open = pendingOpen_;
            } else {
                unclosed(*pendingOpen_);
            }
            pendingOpen_.reset();
        }
        const char* const end = line.data() + line.size();
        const char* piece = line.data();
        char before = 0;  // the brace or bar before the piece; 0 at the start of the line
        for (std::size_t k = first;; ++k) {
            const char* special = piece;
            while (special < end && *special != '{' && *special != '}' && *special != '|') {
                ++special;
            }
            const std::string_view text(piece, static_cast<std::size_t>(special - piece));
            readPiece(text, k, place);
            checkOuterSpaces(text, k, place, before, special == end ? 0 : *special);
            if (special == end) {
                break;
            }
            before = *special;
            const Place here = at(place, special);
            if (*special == '{') {
                if (open) {
                    add(here, Severity::Warning, "nested-brace",
                        "blocks do not nest: this \"{\" starts a new alternative of the same "
                        "block");
                } else {
                    open = here;
                }
            } else if (*special == '|') {
                if (!open && record_.kinds[k] != LineKind::Alternative) {
                    add(here, Severity::Warning, "bar-outside-block",
                        "\"|\" outside a block is dropped: the text after it becomes an "
                        "alternative");
                }
            } else if (open) {
                open.reset();
            } else {
                add(here, Severity::Error, "unmatched-brace",
                    "\"}\" has no \"{\" before it: it only breaks the line");
            }
            piece = special + 1;
        }
        pendingOpen_ = open;
    }

    // The output pass trims every text line: a space beside a block or at the end of a line
    // is lost ("Hello {Ann|Bob} and welcome" gives "HelloBoband welcome"), while a pair of
    // spaces, a space marker by then, stays as one. `before` and `after` are the brace or bar
    // on either side of the piece, 0 at the line's ends.
    void checkOuterSpaces(std::string_view piece, std::size_t index, const Place& place,
                          char before, char after) {
        const LineKind kind = record_.kinds[index];
        const std::string_view body = record_.body(index);
        auto dropped = [&](const char* space, const std::string& where, const char* outcome) {
            add(at(place, space), Severity::Note, "dropped-space",
                "the space " + where + " is dropped" + outcome +
                    "; write \"\\s\\\" for a space that stays");
        };
        auto beside = [](const char* side, char brace) {
            return std::string(side) + " \"" + brace + '"';
        };
        if (kind == LineKind::Blank) {
            // Spaces alone between a block and the line's end, or between two blocks.
            if (!piece.empty() && (before != 0 || after != 0)) {
                if (before != 0 && after != 0) {
                    dropped(piece.data(),
                            "between \"" + std::string(1, before) + "\" and \"" + after + '"',
                            after == '{' ? ", and the blocks on either side become one" : "");
                } else {
                    dropped(piece.data(),
                            after != 0 ? beside("before", after) : "at the end of the line", "");
                }
            }
            return;
        }
        if (kind != LineKind::Text || body.empty() ||
            outputDirective(body) != OutputDirective::None) {
            return;
        }
        if (before != 0 && body.front() == ' ') {
            dropped(piece.data(), beside("after", before), "");
        }
        if (body.back() == ' ') {
            dropped(piece.data() + piece.size() - 1,
                    after != 0 ? beside("before", after) : "at the end of the line", "");
        }
    }

    void unclosed(const Place& open) {
        add(open, Severity::Error, "unclosed-brace",
            "\"{\" is not closed: its last alternative runs to the end of the line");
    }

    void readPiece(std::string_view piece, std::size_t index, const Place& place) {
        const LineKind kind = record_.kinds[index];
        if (kind == LineKind::Text) {
            const std::string_view body = record_.body(index);
            switch (outputDirective(body)) {
                case OutputDirective::None:
                    break;
                case OutputDirective::Message:
                    return;  // shown as it is, never part of the text
                case OutputDirective::Input:
                    checkInput(body, at(place, firstNonSpace(piece)));
                    return;
                case OutputDirective::Include:
                    checkInclude(trimSpaces(body.substr(kIncludeDirective.size())),
                                 at(place, piece.data()));
                    return;
            }
        } else if (kind != LineKind::Alternative) {
            return;
        }
        if (std::memchr(piece.data(), '\\', piece.size()) != nullptr) {
            namedTexts_.push_back({at(place, piece.data()), piece.data() + piece.size(), {}});
        }
    }

    void defineVariable(std::string_view argument, const Place& place) {
        const std::size_t slot = variableCount_++;
        if (slot >= kSlotCount) {
            add(place, Severity::Warning, "variable-limit",
                "only the first " + std::to_string(kSlotCount) +
                    " \"\\v\" lines are kept: this one is dropped");
            return;
        }
        const auto definition = readVariable(trimSpaces(argument));
        if (!definition) {
            add(place, Severity::Error, "variable-syntax",
                "\"\\v\" line without \"=\": it defines nothing, and the line does not reach "
                "the text");
            return;
        }
        if (definition->name.empty()) {
            add(place, Severity::Error, "variable-syntax", "the variable has no name before \"=\"");
            return;
        }
        const auto earlier = std::find_if(variables_.begin(), variables_.end(), [&](const auto& v) {
            return v.name == definition->name;
        });
        if (earlier != variables_.end()) {
            add(place, Severity::Warning, "duplicate-variable",
                inQuotes(definition->name) + " is already defined on line " +
                    std::to_string(earlier->line) + ": the first definition wins");
        }
        variables_.push_back({definition->name, slot, place.line});
        const std::string_view value = definition->value;
        if (value.find('\\') != std::string_view::npos) {
            namedTexts_.push_back({at(place, value.data()), value.data() + value.size(), slot});
        }
    }

    void checkDraw(std::string_view argument, const Place& place) {
        sawDraw_ = true;
        drawBound_.reset();
        drawLine_ = place.line;
        const std::string_view text = trimSpaces(argument);
        const auto bound = wholeNumber(text);
        if (!bound) {
            add(place, Severity::Error, "draw-bound",
                "\"\\rnd\\\" needs a whole number from 1 to 32767: " + inQuotes(text) +
                    " is not one, so the draw keeps the last bound");
            return;
        }
        if (*bound < 1) {
            add(place, Severity::Error, "draw-bound",
                "\"\\rnd\\\" needs a bound of 1 or more, not " + std::to_string(*bound));
            return;
        }
        drawBound_ = bound;
        std::string_view digits = text;
        if (digits.starts_with('+')) {
            digits.remove_prefix(1);
        }
        double exact = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), exact);
        if (exact != *bound) {
            add(place, Severity::Warning, "draw-bound",
                "\"\\rnd\\\" bound " + inQuotes(text) + " is not whole: it is rounded to " +
                    std::to_string(*bound));
        }
    }

    void checkJump(std::string_view argument, const Place& place) {
        const JumpLine jump = readJump(argument);
        if (!jump.number) {
            const auto number = splitAt(trimSpaces(argument), '=')[0];
            add(place, Severity::Error, "jump-number",
                "\"\\if\\\" needs a whole number before \"=\": " + inQuotes(trimSpaces(number)) +
                    " is not one, so the last number stays");
        } else if (!sawDraw_) {
            add(place, Severity::Warning, "jump-without-draw",
                std::string("\"\\if\\\" has no \"\\rnd\\\" above it: it compares with 0, so it ") +
                    (*jump.number == 0 ? "always jumps" : "never jumps"));
        } else if (drawBound_ && (*jump.number < 1 || *jump.number > *drawBound_)) {
            add(place, Severity::Warning, "jump-never",
                "\"\\if\\ " + std::to_string(*jump.number) + "\" never matches: \"\\rnd\\ " +
                    std::to_string(*drawBound_) + "\" on line " + std::to_string(drawLine_) +
                    " draws 1 to " + std::to_string(*drawBound_));
        }
        if (!jump.target) {
            add(place, Severity::Warning, "jump-no-target",
                "\"\\if\\\" has no target after \"=\": it never jumps");
            return;
        }
        if (options_.jumpFolder) {
            const auto file = jumpFile(*options_.jumpFolder, *jump.target);
            const FileKind kind = files_.kind(file);
            if (kind != FileKind::Regular) {
                add(place, Severity::Error, "jump-target",
                    "jump target " + inQuotes(*jump.target) +
                        (kind == FileKind::Missing ? " does not exist: there is no file "
                                                   : " is not a file: ") +
                        inQuotes(file.string()) + "; a jump there gives an empty text");
            }
        }
        if (mayMatch(jump, sawDraw_, drawBound_, false)) {
            jumps_.push_back({place, *jump.target});
        }
    }

    void checkInclude(std::string_view pathText, const Place& place) {
        if (pathText.empty()) {
            add(place, Severity::Error, "include-missing", "\"\\inc\\\" names no file");
            return;
        }
        const auto file = diskPath(pathText, options_.includeFolder);
        const FileKind kind = files_.kind(file);
        if (kind == FileKind::Missing) {
            add(place, Severity::Error, "include-missing",
                "included file " + inQuotes(file.string()) + " does not exist: it adds nothing");
        } else if (kind != FileKind::Regular) {
            add(place, Severity::Error, "include-not-file",
                "included " + inQuotes(file.string()) +
                    (kind == FileKind::Folder ? " is a folder" : " is not a regular file") +
                    ": it adds nothing");
        }
    }

    void checkInput(std::string_view body, const Place& place) {
        const InputLine input = readInputLine(body);
        if (!input.name) {
            add(place, Severity::Error, "input-syntax",
                "\"\\inp\\\" needs a slot, a prompt and a name separated by \"_\": this line "
                "keeps no answer");
        } else if (input.name->empty()) {
            add(place, Severity::Error, "input-syntax",
                "\"\\inp\\\" has no name after its second \"_\": its answer replaces nothing");
        } else {
            answerNames_.insert(*input.name);
        }
        // The slot as the output pass keeps it from one line to the next.
        if (!input.slot) {
            if (input.name) {
                add(place, Severity::Warning, "input-slot",
                    "slot " + inQuotes(input.slotText) + " is not a number: " +
                        (currentSlot_ ? "the answer goes to slot " + std::to_string(*currentSlot_)
                                      : std::string("the answer is not kept")));
            }
        } else if (*input.slot < 0 || *input.slot >= static_cast<double>(kSlotCount)) {
            add(place, Severity::Error, "input-slot",
                "slot " + inQuotes(input.slotText) + " is outside 0 to " +
                    std::to_string(kSlotCount - 1) + ": the answer is not kept");
            currentSlot_.reset();
        } else {
            currentSlot_ = static_cast<std::size_t>(*input.slot);
        }
        if (!currentSlot_ || !input.name || input.name->empty()) {
            return;
        }
        auto& earlier = slotUsers_[*currentSlot_];
        if (earlier && earlier->second != *input.name) {
            add(place, Severity::Warning, "input-slot-reused",
                "slot " + std::to_string(*currentSlot_) + " is also used on line " +
                    std::to_string(earlier->first) + ": this answer replaces that of " +
                    inQuotes(earlier->second));
        }
        earlier = std::make_pair(place.line, *input.name);
    }

    bool isVariable(std::string_view name, std::optional<std::size_t> afterSlot) const {
        return std::any_of(variables_.begin(), variables_.end(), [&](const VariableName& v) {
            return v.name == name && (!afterSlot || v.slot > *afterSlot);
        });
    }

    // Backslashes pair up left to right: a name that is replaced takes both of its own; one
    // that is not leaves its closing backslash to open the next name ("\x\\s\").
    void checkNames(const NamedText& text) {
        const char* p = text.start.at;
        while (const auto* open = static_cast<const char*>(
                   std::memchr(p, '\\', static_cast<std::size_t>(text.end - p)))) {
            const auto* close = static_cast<const char*>(
                std::memchr(open + 1, '\\', static_cast<std::size_t>(text.end - open - 1)));
            if (close == nullptr) {
                return;
            }
            const std::string_view name(open + 1, static_cast<std::size_t>(close - open - 1));
            const InlineName kind = classifyInlineName(name);
            if (kind == InlineName::Empty || kind == InlineName::Marker ||
                isVariable(name, text.variableSlot) || answerNames_.contains(name)) {
                p = close + (name.empty() ? 0 : 1);
                continue;
            }
            const Place place = at(text.start, open);
            if (kind == InlineName::BlockReference) {
                references_.push_back({place, *referencedBlock(name), name});
                p = close + 1;
                continue;
            }
            p = close;
            if (kind == InlineName::MalformedReference) {
                add(place, Severity::Warning, "reference-form",
                    escaped(name) +
                        " is not a block reference (0 to 99, no leading zero): it stays as text");
            } else if (kind == InlineName::DirectiveWord) {
                add(place, Severity::Warning, "directive-position",
                    escaped(name) + " acts only at the start of a line: here it stays as text");
            } else if (text.variableSlot && isVariable(name, std::nullopt)) {
                add(place, Severity::Warning, "variable-order",
                    inQuotes(name) + " is defined before this value, so " + escaped(name) +
                        " stays as text here");
            } else if (kind == InlineName::Name) {
                add(place, Severity::Warning, "unknown-name",
                    escaped(name) +
                        " is neither a marker, a variable nor an answer: it stays "
                        "as text");
            }
        }
    }

    void checkReferences() {
        const std::size_t blocks = record_.blockCount();
        for (const BlockReference& ref : references_) {
            if (ref.block > blocks || record_.altLines.empty()) {
                add(ref.place, Severity::Warning, "reference-range",
                    escaped(ref.text) + " names no block: " +
                        (record_.altLines.empty()
                             ? std::string("the script has no blocks")
                             : "the blocks are numbered 0 to " + std::to_string(blocks)));
            } else if (record_.alternativesOf(ref.block) == 0) {
                add(ref.place, Severity::Warning, "reference-empty",
                    "block " + std::to_string(ref.block) +
                        " has no alternatives: " + escaped(ref.text) + " becomes empty");
            }
        }
    }

    void checkJumpLoops() {
        if (!options_.jumpFolder || jumps_.empty()) {
            return;
        }
        JumpLoops loops(*options_.jumpFolder, options_.scriptFile, script_, files_);
        for (const auto& jump : jumps_) {
            if (const auto loop = loops.loopFrom(jump.target)) {
                add(jump.place, Severity::Note, "jump-loop",
                    "jumps can go round in a loop (" + *loop + "): after " +
                        std::to_string(options_.maxJumps) + " jumps the generation stops jumping");
                return;  // one note is enough: the others name the same loop
            }
        }
    }

    struct Jump {
        Place place;
        std::string target;
    };

    std::string_view script_;
    const CheckOptions& options_;
    CheckFiles disk_;  // the disk
    const CheckFiles& files_;
    std::vector<Diagnostic> found_;
    bool dropped_ = false;  // a finding past the first kMaxFindings was left out
    struct {
        const char* lineBegin = nullptr;
        const char* at = nullptr;
        std::size_t column = 1;
    } lastColumn_;
    WorkingRecord record_;
    std::optional<Place> pendingOpen_;
    std::vector<NamedText> namedTexts_;
    std::vector<VariableName> variables_;
    std::size_t variableCount_ = 0;
    std::set<std::string, std::less<>> answerNames_;
    std::optional<std::size_t> currentSlot_ = 0;
    std::map<std::size_t, std::optional<std::pair<std::size_t, std::string>>> slotUsers_;
    std::vector<BlockReference> references_;
    std::vector<Jump> jumps_;
    bool sawDraw_ = false;
    std::optional<int> drawBound_;
    std::size_t drawLine_ = 0;
};

}  // namespace

std::string_view severityName(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "error";
        case Severity::Warning:
            return "warning";
        case Severity::Note:
            return "note";
    }
    return "error";
}

FileKind CheckFiles::kind(const std::filesystem::path& file) const {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status)) {
        return FileKind::Missing;
    }
    if (std::filesystem::is_regular_file(status)) {
        return FileKind::Regular;
    }
    return std::filesystem::is_directory(status) ? FileKind::Folder : FileKind::Other;
}

std::optional<std::string> CheckFiles::read(const std::filesystem::path& file) const {
    return readTextFile(file);
}

std::vector<Diagnostic> check(std::string_view script, const CheckOptions& options) {
    return Checker(script, options).run();
}

}  // namespace korvex::engine
