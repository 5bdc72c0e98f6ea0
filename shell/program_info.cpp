#include "shell/program_info.h"

namespace korvex::ui {

QString mainWindowTitle() {
    return kProgramTitle + QLatin1Char(' ') + kVersion;
}

QString aboutText(const QDate& today) {
    return QStringLiteral(
               "%1 %2\n\nText generation from scripts.\n\nCopyright (C) %3 The %1 "
               "developers. All rights reserved.")
        .arg(kProgramTitle, kVersion)
        .arg(today.year());
}

}  // namespace korvex::ui
