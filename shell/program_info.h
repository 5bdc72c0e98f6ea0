#pragma once
// The main program's name, version and the texts built from them.

#include <QDate>
#include <QIcon>
#include <QString>

#include "widgets/program_title.h"

namespace korvex::ui {

inline const QString kVersion = QStringLiteral("5.00");
/// The project's web site, opened by the toolbar's "Official Web Site..." button.
inline const QString kWebSite = QStringLiteral("https://korvex5.example.org");

/// The main window's title: the product name and its version.
QString mainWindowTitle();

/// The program's icon, drawn so the program needs no image file: the windows and the task
/// bar show it.
QIcon programIcon();

/// The About box's text, naming the application folder in use. The year comes from `today`
/// itself, never from the tail of a date written in the user's format (which need not end in
/// the year).
QString aboutText(const QDate& today, const QString& appFolder);

}  // namespace korvex::ui
