#pragma once
// The import window's conversion: pasted text in, script lines out.

#include <QString>

namespace korvex::editor {

/// The instruction an empty answer stands for: four spaces make every line an indented
/// alternative of the script language.
inline const QString kDefaultInstruction = QStringLiteral("    ");

/// `text` with `instruction` put in front of every line, each line ended by CR LF. A line ends
/// at CR LF or at a lone CR; a lone LF stays inside its line. One CR LF at the very end ends the
/// last line rather than opening an empty one, so an empty text gives one line holding only
/// the instruction.
QString importText(const QString& text, const QString& instruction);

}  // namespace korvex::editor
