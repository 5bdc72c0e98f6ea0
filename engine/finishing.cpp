#include "engine/finishing.h"

#include <bitset>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/byte_search.h"
#include "engine/markers.h"
#include "engine/text.h"

namespace korvex::engine {
namespace {

class Replacer {
public:
    Replacer(std::string& text, std::size_t maxBytes) : text_(text), maxBytes_(maxBytes) {}

    bool operator()(std::string_view pattern, std::string_view replacement) {
        const Replaced result = replaceAll(text_, pattern, replacement, maxBytes_);
        complete_ = complete_ && result != Replaced::TooLong;
        return result == Replaced::Some;
    }
    bool complete() const { return complete_; }
    std::string& text() { return text_; }

private:
    std::string& text_;
    std::size_t maxBytes_;
    bool complete_ = true;
};

std::string nameReference(std::string_view name) {
    std::string reference;
    reference.reserve(name.size() + 2);
    reference += '\\';
    reference += name;
    reference += '\\';
    return reference;
}

void replaceVariables(Replacer& replace, const FinishingInput& input, Random& random) {
    if (input.takenOptions) {
        input.takenOptions->assign(input.variables.size(), kNoPick);
    }
    for (std::size_t slot = 0; slot < input.variables.size(); ++slot) {
        const auto definition = readVariable(input.variables[slot]);
        if (!definition) {
            continue;  // a definition without "=" changes nothing
        }
        const std::string reference = nameReference(definition->name);
        if (!definition->hasOptions()) {
            replace(reference, definition->value);
            continue;
        }
        // One option is drawn per generation, so every reference gets the same one.
        const auto options = definition->options();
        const auto index = input.variableChoices
                               ? (*input.variableChoices)[slot]
                               : static_cast<std::size_t>(std::floor(
                                     static_cast<double>(options.size()) * random.next()));
        if (input.takenOptions) {
            (*input.takenOptions)[slot] = static_cast<std::uint32_t>(index);
        }
        replace(reference, options[index]);
    }
}

}  // namespace

std::bitset<kSlotCount> referencedBlocks(std::string_view text) {
    std::bitset<kSlotCount> found;
    if (!holdsPairAndDigit(text.data(), text.data() + text.size(), kReferencePrefix[0],
                           kReferencePrefix[1])) {
        return found;
    }
    auto digit = [&](std::size_t k) { return k < text.size() && text[k] >= '0' && text[k] <= '9'; };
    auto backslash = [&](std::size_t k) { return k < text.size() && text[k] == '\\'; };
    for (auto at = text.find(kReferencePrefix); at != std::string_view::npos;
         at = text.find(kReferencePrefix, at + 1)) {
        const std::size_t d = at + kReferencePrefix.size();
        if (!digit(d)) {
            continue;
        }
        const auto first = static_cast<std::size_t>(text[d] - '0');
        if (backslash(d + 1)) {
            found.set(first);
        } else if (first != 0 && digit(d + 1) && backslash(d + 2)) {
            found.set(first * 10 + static_cast<std::size_t>(text[d + 1] - '0'));
        }
    }
    return found;
}

namespace {

void replaceBlockReferences(Replacer& replace, const WorkingRecord& record, const Picks& picks) {
    // Only the numbers that occur are replaced; a replacement can form a new reference from
    // the text around it, so the text is looked over again after each one.
    auto pending = referencedBlocks(replace.text());
    for (std::size_t x = 0; x < kSlotCount; ++x) {
        if (!pending.test(x)) {
            continue;
        }
        const std::string pick = pickText(record, x < picks.size() ? picks[x] : kNoPick);
        if (replace(std::string(kReferencePrefix) + std::to_string(x) + "\\", pick)) {
            pending = referencedBlocks(replace.text());
        }
    }
}

// The two bracket markers have eight bytes: compared as one word, not through memcmp.
static_assert(kAlternativeMarker.size() == 8 && kSpaceMarker.size() == 8);

bool matches(const char* p, const char* end, std::string_view marker) {
    if (end - p < 8) {
        return false;
    }
    std::uint64_t here = 0;
    std::uint64_t wanted = 0;
    std::memcpy(&here, p, 8);
    std::memcpy(&wanted, marker.data(), 8);
    return here == wanted;
}

// What a backslash marker "\x\" becomes, by its middle byte; nullptr for none of them.
const std::string_view* backslashMarker(char middle) {
    static constexpr std::string_view kSpace = " ";
    static constexpr std::string_view kNothing = "";
    switch (middle) {
        case 's':
            return &kSpace;
        case 'b':
            return &kLineBreak;
        case '^':
            return &kNothing;
        default:
            return nullptr;
    }
}

// The bytes of the text as the removal of every alternative marker leaves them, up to seven
// (enough for any part of a marker) just before `at`, or from `at` on. Alternative markers
// cannot overlap one another, so every one found is one the ordered steps remove.
class KeptBytes {
public:
    static KeptBytes before(std::string_view text, std::size_t at) {
        KeptBytes kept;
        const char* const begin = text.data();
        const char* p = begin + at;
        while (kept.size_ < kSize && p > begin) {
            if (p - begin >= 8 && matches(p - 8, p, kAlternativeMarker)) {
                p -= 8;
            } else {
                kept.bytes_[kSize - 1 - kept.size_++] = *--p;
            }
        }
        kept.first_ = kSize - kept.size_;
        return kept;
    }
    static KeptBytes from(std::string_view text, std::size_t at) {
        KeptBytes kept;
        const char* const end = text.data() + text.size();
        const char* p = text.data() + at;
        while (kept.size_ < kSize && p < end) {
            if (matches(p, end, kAlternativeMarker)) {
                p += 8;
            } else {
                kept.bytes_[kept.size_++] = *p++;
            }
        }
        return kept;
    }
    std::string_view view() const { return std::string_view(bytes_ + first_, size_); }

private:
    static constexpr std::size_t kSize = 7;
    char bytes_[kSize] = {};
    std::size_t size_ = 0;
    std::size_t first_ = 0;
};

// True when `left` followed by `right` occurs inside "[.dot2.]", "\s\", "\b\" or "\^\".
bool adjacentInMarker(char left, char right) {
    switch (left) {
        case '[':
            return right == '.';
        case '.':
            return right == 'd' || right == ']';
        case 'd':
            return right == 'o';
        case 'o':
            return right == 't';
        case 't':
            return right == '2';
        case '2':
            return right == '.';
        case '\\':
            return right == 's' || right == 'b' || right == '^';
        case 's':
        case 'b':
        case '^':
            return right == '\\';
        default:
            return false;
    }
}

// True when removing the alternative markers from `runStart` to `runEnd` joins the text on
// either side into one of the markers the later steps replace.
bool joinsMarker(std::string_view text, std::size_t runStart, std::size_t runEnd) {
    const KeptBytes before = KeptBytes::before(text, runStart);
    const KeptBytes after = KeptBytes::from(text, runEnd);
    char window[14];
    const std::string_view left = before.view();
    const std::string_view right = after.view();
    std::memcpy(window, left.data(), left.size());
    std::memcpy(window + left.size(), right.data(), right.size());
    const std::size_t join = left.size();
    const std::size_t size = left.size() + right.size();
    for (const std::string_view marker : {kSpaceMarker, kSpaceEscape, kBreakEscape, kJoinEscape}) {
        // Every place where the marker would have bytes on both sides of the join.
        for (std::size_t at = join >= marker.size() ? join - marker.size() + 1 : 0;
             at < join && at + marker.size() <= size; ++at) {
            std::size_t k = 0;
            while (k < marker.size() && window[at + k] == marker[k]) {
                ++k;
            }
            if (k == marker.size()) {
                return true;
            }
        }
    }
    return false;
}

// One pass that gives the result of the ordered steps except where markers tangle: where
// removing "[.dot4.]" brings together the two halves of a later marker, or where two
// backslash markers share a backslash ("\b\s\" has "\s\" replaced first). Returns false there,
// with `out` unfinished. Every replacement is shorter than its marker, so nothing grows.
bool replaceMarkersOnce(std::string_view text, std::string& out, bool& backslashLeft) {
    // Nothing grows, so the result fits the text's size, written through a pointer. The slack
    // lets a short run between markers move as one sixteen-byte copy.
    constexpr std::ptrdiff_t kShort = 16;
    out.resize(text.size() + kShort);
    char* w = out.data();
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const char* stop = findEither(p, end, '[', '\\');
        if (stop - p <= kShort && end - p >= kShort) {
            std::memcpy(w, p, kShort);
        } else {
            std::memcpy(w, p, static_cast<std::size_t>(stop - p));
        }
        w += stop - p;
        p = stop;
        if (p == end) {
            break;
        }
        if (*p == '[') {
            if (matches(p, end, kAlternativeMarker)) {
                const char* run = p;
                do {
                    p += kAlternativeMarker.size();
                } while (matches(p, end, kAlternativeMarker));
                // The byte before the run is never the end of another one: the run took in
                // every marker that follows it. The two bytes that meet decide at once.
                if (run > begin && p < end && adjacentInMarker(run[-1], *p) &&
                    joinsMarker(text, static_cast<std::size_t>(run - begin),
                                static_cast<std::size_t>(p - begin))) {
                    return false;
                }
            } else if (matches(p, end, kSpaceMarker)) {
                *w++ = ' ';
                p += kSpaceMarker.size();
            } else {
                *w++ = *p++;
            }
            continue;
        }
        const std::string_view* replacement =
            end - p >= 3 && p[2] == '\\' ? backslashMarker(p[1]) : nullptr;
        if (replacement == nullptr) {
            *w++ = *p++;
            backslashLeft = true;
            continue;
        }
        if (end - p >= 5 && p[4] == '\\' && backslashMarker(p[3]) != nullptr) {
            return false;  // the next marker starts on this one's closing backslash
        }
        std::memcpy(w, replacement->data(), replacement->size());
        w += replacement->size();
        p += 3;
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
    return true;
}

}  // namespace

std::optional<VariableDefinition> readVariable(std::string_view slot) {
    const auto pieces = splitAt(slot, '=');
    if (pieces.size() < 2) {
        return std::nullopt;
    }
    return VariableDefinition{trimSpaces(pieces[0]), trimSpaces(pieces[1])};
}

std::vector<std::string_view> VariableDefinition::options() const {
    // The options keep their spaces: "a | b" offers "a " and " b".
    return splitAt(value, '|');
}

void replaceMarkersStepByStep(std::string& text) {
    const std::size_t unlimited = std::string::npos;
    replaceAll(text, kAlternativeMarker, "", unlimited);
    replaceAll(text, kSpaceMarker, " ", unlimited);
    replaceAll(text, kSpaceEscape, " ", unlimited);
    replaceAll(text, kBreakEscape, kLineBreak, unlimited);
    replaceAll(text, kJoinEscape, "", unlimited);
}

bool replaceMarkers(std::string& text, std::string& scratch) {
    bool backslashLeft = false;
    if (replaceMarkersOnce(text, scratch, backslashLeft)) {
        text.swap(scratch);
        return backslashLeft;
    }
    replaceMarkersStepByStep(text);
    return text.find('\\') != std::string::npos;
}

bool finish(std::string& text, const FinishingInput& input, Random& random, Host& host,
            std::size_t maxBytes, std::string& scratch) {
    Replacer replace(text, maxBytes);
    replaceVariables(replace, input, random);
    replaceBlockReferences(replace, input.record, input.picks);
    for (const auto& slot : input.answers) {
        if (slot) {
            replace(nameReference(slot->name), slot->answer);
        }
    }
    // The markers only ever shorten the text, so they never meet the size limit.
    if (replaceMarkers(text, scratch)) {
        // The clock is read once for each, and only when the text asks for it.
        if (contains(text, kDateEscape)) {
            replace(kDateEscape, host.dateText());
        }
        if (contains(text, kTimeEscape)) {
            replace(kTimeEscape, host.timeText());
        }
    }
    return replace.complete();
}

}  // namespace korvex::engine
