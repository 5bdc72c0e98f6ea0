#pragma once
// The figures the statistics window shows, computed from the generated text as UTF-8 with
// CR LF line breaks.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/variant_count.h"

namespace korvex::ui {

/// Characters of `utf8`: one per code point, so each CR and each LF of a line break counts
/// one and a letter outside ASCII counts one however many bytes it takes.
std::uint64_t characterCount(std::string_view utf8);

/// Words of `text`: the pieces between single spaces. Consecutive spaces make empty pieces,
/// which count; line breaks and other white space do not split. An empty text has none.
std::uint64_t wordCount(std::string_view text);

/// Variant counts up to this many digits are shown whole.
inline constexpr std::size_t kWholeVariantDigits = 18;

/// The variant count as the statistics window shows it: whole up to kWholeVariantDigits
/// digits, otherwise "about " and the scientific form ("about 1.23e+30102").
std::string variantCountText(const engine::VariantCount& count);

/// The four lines of the statistics window, each ended by CR LF. The figures come as the
/// texts the windows keep them in.
std::string statisticsText(std::string_view characters, std::string_view words,
                           std::string_view items, std::string_view variants);

}  // namespace korvex::ui
