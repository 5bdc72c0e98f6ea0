#pragma once
// The Projects Manager's controls by what they do, with the names they carry as objectName.

namespace korvex::ui::projectsManagerControls {

inline constexpr const char* window = "Form2";
inline constexpr const char* toolBar = "Picture1";
inline constexpr const char* list = "List1";
inline constexpr const char* folderBar = "Picture2";
/// the folder links of the folder bar
inline constexpr const char* examples = "Label1";
inline constexpr const char* projects = "Label2";
inline constexpr const char* addNew = "Command6";
inline constexpr const char* open = "Command1";
inline constexpr const char* deleteSelected = "Command3";
inline constexpr const char* rename = "Command4";
inline constexpr const char* copy = "Command5";
/// keeps to the strip's right edge
inline constexpr const char* browse = "Command2";
/// lists the current project folder
inline constexpr const char* refreshTimer = "Timer1";

}  // namespace korvex::ui::projectsManagerControls
