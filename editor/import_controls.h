#pragma once
// The import window's controls by what they do, with the names they carry as objectName.

namespace korvex::editor::importControls {

inline constexpr const char* window = "Form5";
inline constexpr const char* text = "Text1";
inline constexpr const char* toolBar = "Picture1";
inline constexpr const char* run = "Command1";
inline constexpr const char* copyAll = "Command2";
/// "Copied" beside the buttons after Copy All
inline constexpr const char* copiedNote = "Label1";

}  // namespace korvex::editor::importControls
