#pragma once
// The New Project dialog's controls by what they do, with the names they carry as objectName.

namespace korvex::ui::newProjectControls {

inline constexpr const char* window = "Form1";
inline constexpr const char* name = "Text1";
/// the projects that exist already
inline constexpr const char* projects = "List1";
inline constexpr const char* create = "Command1";
inline constexpr const char* cancel = "Command2";
inline constexpr const char* prompt = "Label1";
inline constexpr const char* warning = "Label2";
inline constexpr const char* existing = "Label3";

}  // namespace korvex::ui::newProjectControls
