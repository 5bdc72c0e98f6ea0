#pragma once
// Small text helpers shared by the passes. All matching is exact and case-sensitive; "trim"
// removes spaces only, as the script language defines it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/ascii.h"

namespace korvex::engine {

using ascii::trimSpaces;

/// A number as the directives read it: optional sign, digits with an optional fraction and
/// exponent, rounded to the nearest whole number (halves to even). Empty when the text is not
/// such a number or the result does not fit 16 bits.
std::optional<int> wholeNumber(std::string_view s);

/// The same reading at any size: the number rounded to a whole number, or plus or minus
/// infinity when it is beyond the range of a double. Empty only when the text is not a number,
/// so a caller can tell a number out of its range from no number at all.
std::optional<double> roundedNumber(std::string_view s);

/// Splits at every `separator`; "a|b|" gives "a", "b" and "".
std::vector<std::string_view> splitAt(std::string_view s, char separator);

/// True when `text` holds `pattern`.
bool contains(std::string_view text, std::string_view pattern);

/// The outcome of a replacement that would make the text longer than allowed.
enum class Replaced { None, Some, TooLong };

/// Replaces every occurrence of `pattern`, scanning left to right; replaced text is not scanned
/// again. Leaves `text` as it was and answers TooLong when the result would exceed `maxBytes`.
Replaced replaceAll(std::string& text, std::string_view pattern, std::string_view replacement,
                    std::size_t maxBytes);

}  // namespace korvex::engine
