#pragma once
// The words of the script language as the stages see them: the markers of the working form,
// the inline markers finishing replaces, the directive keywords, and the size of every
// numbered table. Defined here once, so no stage can spell one differently.

#include <cstddef>
#include <string_view>

namespace korvex::engine {

/// Four spaces in the working form; at the start of a working line it marks an alternative.
/// Every occurrence vanishes from the finished text.
inline constexpr std::string_view kAlternativeMarker = "[.dot4.]";
/// Two spaces in the working form; one space in the finished text.
inline constexpr std::string_view kSpaceMarker = "[.dot2.]";

// Inline markers, replaced by finishing in this order after the two above.
inline constexpr std::string_view kSpaceEscape = "\\s\\";  ///< one space
inline constexpr std::string_view kBreakEscape = "\\b\\";  ///< a line break, CR LF
inline constexpr std::string_view kJoinEscape = "\\^\\";   ///< nothing: joins or separates
inline constexpr std::string_view kDateEscape = "\\date\\";
inline constexpr std::string_view kTimeEscape = "\\time\\";

/// Line breaks of the working file and of the finished text.
inline constexpr std::string_view kLineBreak = "\r\n";

// Directives. The reading pass acts on the first four; the output pass on the last three.
inline constexpr std::string_view kEndDirective = "\\end\\";
inline constexpr std::string_view kDrawDirective = "\\rnd\\";
inline constexpr std::string_view kJumpDirective = "\\if\\";
inline constexpr std::string_view kVariableDirective = "\\v";
inline constexpr std::string_view kMessageDirective = "\\msg\\";
inline constexpr std::string_view kInputDirective = "\\inp\\";  ///< in any letter case
inline constexpr std::string_view kIncludeDirective = "\\inc\\";

/// Block references start with this, then the block number and a backslash: "\i7\".
inline constexpr std::string_view kReferencePrefix = "\\i";

/// Every numbered table holds this many slots, numbered from 0: variables, answers, and the
/// blocks whose alternatives are counted and which a reference can name.
inline constexpr std::size_t kSlotCount = 100;

}  // namespace korvex::engine
