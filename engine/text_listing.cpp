#include "engine/text_listing.h"

#include <unordered_set>

#include "engine/finishing.h"
#include "engine/markers.h"
#include "engine/reading.h"
#include "engine/splitting.h"
#include "engine/text.h"

namespace korvex::engine {
namespace {

const std::string kCannotList = "; only blocks and variables with \"|\" can be listed";

// Passes messages on and notes a request for the clock, which the script's own lines could
// not show: pieces put together can form "\date\".
class ClockWatch : public Host {
public:
    ClockWatch(Host& host, std::optional<std::string>& refusal) : host_(host), refusal_(refusal) {}
    void showMessage(std::string_view text) override { host_.showMessage(text); }
    std::optional<std::string> askInput(std::string_view) override { return std::nullopt; }
    std::string dateText() override { return refuse(kDateEscape, "the date"); }
    std::string timeText() override { return refuse(kTimeEscape, "the time"); }

private:
    std::string refuse(std::string_view marker, std::string_view what) {
        refusal_ = "pieces of a text join into \"" + std::string(marker) + "\", which gives " +
                   std::string(what) + kCannotList;
        return {};
    }
    Host& host_;
    std::optional<std::string>& refusal_;
};

class SilentHost : public Host {
public:
    void showMessage(std::string_view) override {}
    std::optional<std::string> askInput(std::string_view) override { return std::nullopt; }
    std::string dateText() override { return {}; }
    std::string timeText() override { return {}; }
};

std::string lineRefusal(std::size_t line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + std::string(what) + kCannotList;
}

// What of the clock `text` asks for, if anything: "\date\" gives the date.
std::optional<std::string> clockIn(std::string_view text) {
    if (contains(text, kDateEscape)) {
        return std::string("\"\\date\\\" gives the date");
    }
    if (contains(text, kTimeEscape)) {
        return std::string("\"\\time\\\" gives the time");
    }
    return std::nullopt;
}

}  // namespace

ScriptListing::ScriptListing(std::string_view script, ListingOptions options)
    : options_(std::move(options)), unused_(0) {
    if (options_.readInclude) {
        cachedInclude_ = [this](std::string_view path, std::size_t room) {
            return include(path, room);
        };
    }
    read(script);
    if (!refusal_) {
        findChoicePoints();
    }
}

IncludedFile ScriptListing::include(std::string_view path, std::size_t room) {
    auto at = includes_.find(path);
    if (at == includes_.end()) {
        at = includes_.emplace(path, options_.readInclude(path, options_.maxTextBytes)).first;
    }
    if (at->second.status == IncludedFile::Status::Read && at->second.text.size() > room) {
        return {IncludedFile::Status::TooLarge, {}};
    }
    return at->second;
}

// The reading pass without draws and jumps, each line's directives looked at as it is read.
void ScriptListing::read(std::string_view script) {
    const char* p = script.data();
    const char* const end = p + script.size();
    for (std::size_t lineNumber = 1; p < end; ++lineNumber) {
        const std::string_view line = nextScriptLine(p, end);
        const ScriptLine read = readScriptLine(line);
        switch (read.kind) {
            case ScriptLineKind::Skipped:
            case ScriptLineKind::End:
                continue;
            case ScriptLineKind::Variable:
                if (variables_.size() < kSlotCount) {
                    variables_.emplace_back(trimSpaces(read.argument));
                    if (const auto clock = clockIn(variables_.back())) {
                        refusal_ = lineRefusal(lineNumber, *clock);
                        return;
                    }
                }
                continue;
            case ScriptLineKind::Draw:
                refusal_ = lineRefusal(lineNumber, "\"\\rnd\\\" draws at random");
                return;
            case ScriptLineKind::Jump:
                refusal_ = lineRefusal(lineNumber, "\"\\if\\\" jumps to another script");
                return;
            case ScriptLineKind::Plain:
                break;
        }
        const std::size_t first = record_.lineCount();
        appendWorkingLines(line, false, record_);
        for (std::size_t k = first; k < record_.lineCount(); ++k) {
            const std::string_view body = record_.body(k);
            OutputDirective directive = OutputDirective::None;
            if (record_.kinds[k] == LineKind::Text) {
                directive = outputDirective(body);
            } else if (record_.kinds[k] != LineKind::Alternative) {
                continue;
            }
            std::optional<std::string> clock;
            if (directive == OutputDirective::Input) {
                refusal_ = lineRefusal(lineNumber, "\"\\inp\\\" asks a question");
                return;
            }
            if (directive == OutputDirective::Include && cachedInclude_) {
                const auto path = trimSpaces(body.substr(kIncludeDirective.size()));
                if ((clock = clockIn(include(path, options_.maxTextBytes).text))) {
                    clock->insert(0, "in the file it includes, ");
                }
            } else if (directive == OutputDirective::None) {
                clock = clockIn(body);
            }
            if (clock) {
                refusal_ = lineRefusal(lineNumber, *clock);
                return;
            }
        }
    }
}

void ScriptListing::findChoicePoints() {
    splitBlocks(record_);
    picks_.assign(record_.blockCount() + 1, kNoPick);
    std::unordered_set<std::string_view> distinct;
    auto keepDistinct = [&](ChoicePoint& point, std::size_t count, auto text) {
        distinct.clear();
        for (std::size_t k = 0; k < count; ++k) {
            if (distinct.insert(text(k)).second) {
                point.options.push_back(static_cast<std::uint32_t>(k));
            }
        }
        combinations_.multiplyBy(static_cast<std::uint32_t>(point.options.size()));
        points_.push_back(std::move(point));
    };
    for (std::size_t b = 0; b <= record_.blockCount(); ++b) {
        const std::size_t count = record_.alternativesOf(b);
        if (count > 0) {
            ChoicePoint point{ChoicePoint::Kind::Block, b, {}, {}};
            const std::uint32_t* lines = record_.altLines.data() + record_.blockStart[b];
            keepDistinct(point, count, [&](std::size_t k) { return record_.body(lines[k]); });
        }
    }
    variableChoices_.assign(variables_.size(), 0);
    for (std::size_t slot = 0; slot < variables_.size(); ++slot) {
        const auto definition = readVariable(variables_[slot]);
        if (definition && definition->hasOptions()) {
            const auto options = definition->options();
            ChoicePoint point{ChoicePoint::Kind::Variable, slot, std::string(definition->name), {}};
            keepDistinct(point, options.size(), [&](std::size_t k) { return options[k]; });
        }
    }
}

std::string_view ScriptListing::optionText(std::size_t point, std::size_t option) const {
    const ChoicePoint& p = points_[point];
    const std::uint32_t index = p.options[option];
    if (p.kind == ChoicePoint::Kind::Block) {
        return record_.body(record_.altLines[record_.blockStart[p.number] + index]);
    }
    return readVariable(variables_[p.number])->options()[index];
}

void ScriptListing::render(const std::vector<std::uint32_t>& choice, Host& host,
                           std::string& text) {
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const ChoicePoint& point = points_[i];
        const std::uint32_t index = point.options[choice[i]];
        if (point.kind == ChoicePoint::Kind::Block) {
            picks_[point.number] = record_.altLines[record_.blockStart[point.number] + index];
        } else {
            variableChoices_[point.number] = index;
        }
    }
    ClockWatch watch(host, refusal_);
    assemble(record_, picks_, AssemblyContext{watch, cachedInclude_, options_.maxTextBytes},
             assembly_);
    finish(assembly_.text,
           FinishingInput{variables_, record_, picks_, assembly_.answers, &variableChoices_},
           unused_, watch, options_.maxTextBytes, scratch_);
    text.swap(assembly_.text);
}

DistinctTexts::DistinctTexts(ScriptListing& listing, Host& host, std::uint64_t maxTries)
    : listing_(listing), host_(host), maxTries_(maxTries) {}

bool DistinctTexts::next() {
    SilentHost silent;
    auto sameAsEarlier = [&](std::uint64_t ordinal) {
        decode(ordinal, earlierChoice_);
        listing_.render(earlierChoice_, silent, earlierText_);
        return earlierText_ == text_;
    };
    while (!complete_ && tried_ < maxTries_ && !listing_.refusal()) {
        if (!started_) {
            choice_.assign(listing_.choicePoints().size(), 0);
            started_ = true;
        } else {
            advance();
        }
        const std::uint64_t ordinal = tried_++;
        listing_.render(choice_, ordinal == 0 ? host_ : silent, text_);
        complete_ = isLast();
        if (listing_.refusal()) {
            break;
        }
        if (seen_.insert(TextSet::hash(text_), ordinal, sameAsEarlier)) {
            return true;
        }
    }
    return false;
}

// Combinations are numbered in the order they are made: the last choice point is the lowest
// digit.
void DistinctTexts::decode(std::uint64_t ordinal, std::vector<std::uint32_t>& choice) const {
    const auto& points = listing_.choicePoints();
    choice.resize(points.size());
    for (std::size_t i = points.size(); i-- > 0;) {
        const std::uint64_t radix = points[i].options.size();
        choice[i] = static_cast<std::uint32_t>(ordinal % radix);
        ordinal /= radix;
    }
}

void DistinctTexts::advance() {
    const auto& points = listing_.choicePoints();
    for (std::size_t i = points.size(); i-- > 0;) {
        if (++choice_[i] < points[i].options.size()) {
            return;
        }
        choice_[i] = 0;
    }
}

bool DistinctTexts::isLast() const {
    const auto& points = listing_.choicePoints();
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (choice_[i] + 1 < points[i].options.size()) {
            return false;
        }
    }
    return true;
}

}  // namespace korvex::engine
