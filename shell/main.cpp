// korvex5: the main program. Its windows live in korvex_shell; this only starts them.
//
//   korvex5 [--quit-after-start] [--dark-palette]
//
// --quit-after-start starts as usual, prints the application folder in use, writes the start-up
// warnings to standard error instead of showing them, and quits after the start-up tick, so the
// installed program can be started and checked with nobody at the screen. --dark-palette runs
// on a dark palette of the Fusion style, as a dark desktop theme would give, so the windows can
// be looked at on dark backgrounds where no such theme is installed (./dev shots).

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QScreen>
#include <iostream>

#include "platform/caret_blink.h"
#include "platform/qt_desktop.h"
#include "platform/qt_dialogs.h"
#include "platform/text_conversion.h"
#include "shell/main_window.h"
#include "shell/program_info.h"
#include "store/app_location.h"

int main(int argc, char* argv[]) {
    using korvex::platform::fromPath;
    QApplication app(argc, argv);
    QApplication::setWindowIcon(korvex::ui::programIcon());
    const korvex::platform::CaretBlinkTimeout caretBlink;
    if (QCoreApplication::arguments().contains(QStringLiteral("--dark-palette"))) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark(QColor(53, 53, 53));
        dark.setColor(QPalette::Base, QColor(35, 35, 35));
        dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        dark.setColor(QPalette::Link, QColor(0, 0, 255));  // the plain blue a link may come in
        QApplication::setPalette(dark);
    }
    const bool quitAfterStart =
        QCoreApplication::arguments().contains(QStringLiteral("--quit-after-start"));
    const std::filesystem::path programFolder =
        korvex::platform::toPath(QCoreApplication::applicationDirPath());
    const korvex::store::AppFolderChoice choice =
        korvex::store::chooseAppFolder(programFolder, programFolder / KORVEX_SKELETON_FROM_PROGRAM,
                                       korvex::store::UserDataHome::fromEnvironment());
    // Every path of the program, `\inc\` lines included, is relative to the application folder.
    QDir::setCurrent(fromPath(choice.folder));

    korvex::platform::QtDialogs dialogs;
    korvex::platform::QtDesktop desktop;
    korvex::ui::MainWindow window(dialogs, desktop, korvex::store::AppFolder(choice.folder));
    // Without a window manager "maximised" means nothing: fill the screen ourselves.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->availableGeometry());
    }
    window.showMaximized();
    // The start window is the New Project dialog, inside the main window.
    window.newProject();
    if (quitAfterStart) {
        std::cout << "Application folder: " << choice.folder.string() << std::endl;
        for (const std::string& warning : choice.warnings) {
            std::cerr << "korvex5: " << warning << std::endl;
        }
        QObject::connect(
            &window, &korvex::ui::MainWindow::started, &window,
            [&window] {
                window.close();
                QCoreApplication::quit();
            },
            Qt::QueuedConnection);
    } else {
        for (const std::string& warning : choice.warnings) {
            dialogs.warning(&window, korvex::ui::kProgramTitle,
                            korvex::platform::toQString(warning));
        }
    }
    return QApplication::exec();
}
