#pragma once
// The runtime window's controls by what they do, with the names they carry as objectName.

namespace korvex::ui::runtimeControls {

inline constexpr const char* window = "Form1";
inline constexpr const char* text = "Text1";
/// generates once the window is shown
inline constexpr const char* startTimer = "Timer1";

}  // namespace korvex::ui::runtimeControls
