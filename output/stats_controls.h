#pragma once
// The statistics window's controls by what they do, with the names they carry as objectName.

namespace korvex::ui::statsControls {

inline constexpr const char* window = "Form7";
inline constexpr const char* text = "Text1";
/// hidden figures, as the window was given them
inline constexpr const char* words = "Label2";
inline constexpr const char* characters = "Label4";
inline constexpr const char* items = "Label6";
inline constexpr const char* variants = "Label8";
/// fills the text once the window is shown
inline constexpr const char* showTimer = "Timer1";

}  // namespace korvex::ui::statsControls
