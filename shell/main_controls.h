#pragma once
// The main window's controls by what they do, with the names they carry as objectName.

namespace korvex::ui::mainControls {

inline constexpr const char* window = "MDIForm1";
inline constexpr const char* toolBar = "Picture2";
/// the group that keeps to the strip's right edge
inline constexpr const char* panel = "Picture4";
inline constexpr const char* newProject = "Command1";
inline constexpr const char* openProjects = "Command2";
inline constexpr const char* lastProjects = "Command7";
inline constexpr const char* cascade = "Command3";
inline constexpr const char* horizontal = "Command4";
inline constexpr const char* vertical = "Command5";
inline constexpr const char* closeAll = "Command6";
inline constexpr const char* settings = "Command8";
inline constexpr const char* projectsManager = "Command12";
inline constexpr const char* examples = "Command11";
inline constexpr const char* help = "Command10";
inline constexpr const char* webSite = "Command9";
/// keeps the Windows menu and the arrangement buttons in step with the open windows
inline constexpr const char* watchTimer = "Timer1";

}  // namespace korvex::ui::mainControls
