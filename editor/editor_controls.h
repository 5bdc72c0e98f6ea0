#pragma once
// The editor window's controls by what they do, with the names they carry as objectName (the
// window, its tests and its benchmarks find them by these).

namespace korvex::editor::editorControls {

inline constexpr const char* window = "Form3";
/// the pane whose lines never wrap, the one every save writes
inline constexpr const char* unwrappedPane = "Text1";
/// the pane that wraps lines at its width
inline constexpr const char* wrappedPane = "Text2";
inline constexpr const char* toolBar = "Picture1";
/// the buttons that keep to the strip's right edge
inline constexpr const char* toolGroup = "Picture4";
inline constexpr const char* fontSmaller = "Command7";
inline constexpr const char* fontLarger = "Command2";
inline constexpr const char* wordWrap = "Command1";
inline constexpr const char* save = "Command4";
inline constexpr const char* generate = "Command3";
inline constexpr const char* importText = "Command6";
inline constexpr const char* runtime = "Command8";
inline constexpr const char* externalEditor = "Command5";
/// the live preview beside the panes: its text, its notes, and its two buttons
inline constexpr const char* preview = "Preview";
inline constexpr const char* previewText = "PreviewText";
inline constexpr const char* previewNotes = "PreviewInfo";
inline constexpr const char* anotherPreview = "PreviewAnother";
inline constexpr const char* fivePreviews = "PreviewFive";

}  // namespace korvex::editor::editorControls
