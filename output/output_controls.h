#pragma once
// The generated-text window's controls by what they do, with the names they carry as objectName.

namespace korvex::ui::outputControls {

inline constexpr const char* window = "Form4";
inline constexpr const char* text = "Text1";
inline constexpr const char* toolBar = "Picture2";
inline constexpr const char* exportText = "Command1";
inline constexpr const char* copyAll = "Command2";
inline constexpr const char* statistics = "Command4";
inline constexpr const char* generate = "Command3";
/// hidden: the number of alternatives of the last generation
inline constexpr const char* items = "Label6";
/// hidden: the number of variants of the last generation
inline constexpr const char* variants = "Label8";
/// opens the statistics window a moment after its button
inline constexpr const char* statsTimer = "Timer1";
/// why the working files of the last generation were not written
inline constexpr const char* recordStatus = "RecordStatus";

}  // namespace korvex::ui::outputControls
