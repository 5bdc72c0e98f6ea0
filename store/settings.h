#pragma once
// The settings file Extra/Setting.ini: lines of key = value, keys and values without regard
// to letter case, later lines winning. The program reads it once at start and never writes it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/app_folder.h"

namespace korvex::store {

/// A colour as the platform numbers it: red + 256 × green + 65536 × blue.
using ColourNumber = std::uint32_t;

inline constexpr ColourNumber kDarkGrey = 4210752;  ///< RGB(64,64,64)
inline constexpr ColourNumber kDarkBlue = 4194304;  ///< RGB(0,0,64)

constexpr int redOf(ColourNumber colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(ColourNumber colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(ColourNumber colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}

/// Colours, font and size of a kind of text pane (the carriers EditorSetting and PreView).
struct TextLook {
    std::optional<ColourNumber> background;  ///< empty: the system's window background colour
    /// Empty: the design colour kDarkBlue, which a window may make readable on a dark
    /// background; a colour the settings file chose is kept as it is.
    std::optional<ColourNumber> text;
    std::string fontName = "Courier New";
    float fontSize = 11.25f;  ///< points

    bool operator==(const TextLook&) const = default;
};

/// Everything the settings file can set, at its design value until a line sets it.
struct Settings {
    bool showMainBar = true;                           ///< show_main_bar
    ColourNumber mainBarColour = kDarkGrey;            ///< color_main_bar: the toolbar
    std::optional<ColourNumber> mainBarButtonsColour;  ///< color_main_bar: its right-hand
                                                       ///< button group; empty: the system's
                                                       ///< window background colour
    std::optional<ColourNumber> backgroundColour;      ///< background_color; empty: the
                                                       ///< system's application workspace colour
    TextLook editor;                                   ///< *_editor keys (carrier EditorSetting)
    TextLook preview;                                  ///< *_preview keys (carrier PreView)
    /// dnask = 1 (carrier DNAskX): Generate saves without asking first. Any other value of
    /// a later line switches it off again.
    bool saveWithoutAsking = false;
    /// editor = 1 (carrier Editor): editor windows work through the external text editor;
    /// any other value of a later line switches it off again.
    bool useExternalEditor = false;

    bool operator==(const Settings&) const = default;
};

/// Colour text "#RRGGBB" as a colour number. Every "#" is dropped; characters 1-2, 3-4 and
/// 5-6 are red, green and blue, each read as hexadecimal up to its first other character;
/// a missing or unreadable pair counts 0. So "#fff" is red 255, green 15, blue 0.
ColourNumber parseColourText(std::string_view text);

/// A font size in points: a decimal number with "." or "," as the decimal point; std::nullopt
/// for anything else, and for sizes no font can have (zero, negative, above 1638 points).
std::optional<float> parseFontSize(std::string_view text);

/// Applies the lines of `text` (UTF-8) to the design values. Each line is split at every "=":
/// the first piece, trimmed and lower-cased, is the key, the second the value; a line without
/// "=" keeps the value of the line before, and an empty line repeats the line before.
Settings parseSettings(std::string_view text);

/// Extra/Setting.ini applied to the design values; a missing or unreadable file gives the
/// design values, silently.
Settings loadSettings(const AppFolder& app);

}  // namespace korvex::store
