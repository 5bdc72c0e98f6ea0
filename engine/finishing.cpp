#include "engine/finishing.h"

#include <array>
#include <bitset>
#include <cmath>

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

void replaceVariables(Replacer& replace, const std::vector<std::string>& variables,
                      Random& random) {
    for (const std::string& slot : variables) {
        const auto pieces = splitAt(slot, '=');
        if (pieces.size() < 2) {
            continue;  // a definition without "=" changes nothing
        }
        const auto name = trimSpaces(pieces[0]);
        const auto value = trimSpaces(pieces[1]);
        if (value.find('|') == std::string_view::npos) {
            replace(nameReference(name), value);
            continue;
        }
        // One option is drawn per generation, so every reference gets the same one. The
        // options keep their spaces: "a | b" offers "a " and " b".
        const auto options = splitAt(value, '|');
        const auto index = static_cast<std::size_t>(
            std::floor(static_cast<double>(options.size()) * random.next()));
        replace(nameReference(name), options[index]);
    }
}

// The blocks named by a reference "\i" N "\" (N from 0 to 99, no leading zeros) in the text.
std::bitset<kSlotCount> referencedBlocks(std::string_view text) {
    std::bitset<kSlotCount> found;
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

void replaceBlockReferences(Replacer& replace, const std::vector<std::string_view>& picks) {
    // Only the numbers that occur are replaced; a replacement can form a new reference from
    // the text around it, so the text is looked over again after each one.
    auto pending = referencedBlocks(replace.text());
    for (std::size_t x = 0; x < kSlotCount; ++x) {
        if (!pending.test(x)) {
            continue;
        }
        const std::string_view pick = x < picks.size() ? picks[x] : std::string_view{};
        if (replace(std::string(kReferencePrefix) + std::to_string(x) + "\\", pick)) {
            pending = referencedBlocks(replace.text());
        }
    }
}

}  // namespace

bool finish(std::string& text, const FinishingInput& input, Random& random, Host& host,
            std::size_t maxBytes) {
    Replacer replace(text, maxBytes);
    replaceVariables(replace, input.variables, random);
    replaceBlockReferences(replace, input.picks);
    for (const auto& slot : input.answers) {
        if (slot) {
            replace(nameReference(slot->name), slot->answer);
        }
    }
    replace(kAlternativeMarker, "");
    replace(kSpaceMarker, " ");
    replace(kSpaceEscape, " ");
    replace(kBreakEscape, kLineBreak);
    replace(kJoinEscape, "");
    // The clock is read once for each, and only when the text asks for it.
    if (contains(text, kDateEscape)) {
        replace(kDateEscape, host.dateText());
    }
    if (contains(text, kTimeEscape)) {
        replace(kTimeEscape, host.timeText());
    }
    return replace.complete();
}

}  // namespace korvex::engine
