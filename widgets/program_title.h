#pragma once
// The main program's title, which every window of it shares.

#include <QString>

namespace korvex::ui {

/// The caption of every message box without a caption of its own, and of the script's
/// `\msg\` boxes.
inline const QString kProgramTitle = QStringLiteral("Korvex5");

}  // namespace korvex::ui
