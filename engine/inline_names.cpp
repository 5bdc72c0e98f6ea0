#include "engine/inline_names.h"

#include "engine/markers.h"
#include "store/ascii.h"

namespace korvex::engine {
namespace {

// A marker "\x\" without its backslashes.
constexpr std::string_view inner(std::string_view marker) {
    return marker.substr(1, marker.size() - 2);
}

bool isMarkerName(std::string_view name) {
    for (const std::string_view marker :
         {kSpaceEscape, kBreakEscape, kJoinEscape, kDateEscape, kTimeEscape}) {
        if (name == inner(marker)) {
            return true;
        }
    }
    return false;
}

bool isDirectiveWord(std::string_view name) {
    return name == inner(kMessageDirective) || name == inner(kIncludeDirective) ||
           ascii::equalsIgnoringCase(name, inner(kInputDirective)) ||
           name == inner(kEndDirective) || name == inner(kDrawDirective) ||
           name == inner(kJumpDirective);
}

bool isDigits(std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::optional<std::size_t> referencedBlock(std::string_view name) {
    const std::string_view prefix = kReferencePrefix.substr(1);
    if (!name.starts_with(prefix) || name.size() <= prefix.size()) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(prefix.size());
    if (digits.size() > 2 || !isDigits(digits) || (digits.size() > 1 && digits[0] == '0')) {
        return std::nullopt;
    }
    std::size_t block = 0;
    for (const char d : digits) {
        block = block * 10 + static_cast<std::size_t>(d - '0');
    }
    return block;
}

InlineName classifyInlineName(std::string_view name) {
    if (name.empty()) {
        return InlineName::Empty;
    }
    if (isMarkerName(name)) {
        return InlineName::Marker;
    }
    if (referencedBlock(name)) {
        return InlineName::BlockReference;
    }
    const std::string_view prefix = kReferencePrefix.substr(1);
    if (name.starts_with(prefix) && isDigits(name.substr(prefix.size()))) {
        return InlineName::MalformedReference;
    }
    if (isDirectiveWord(name)) {
        return InlineName::DirectiveWord;
    }
    return name.find(' ') != std::string_view::npos ? InlineName::Spaced : InlineName::Name;
}

}  // namespace korvex::engine
