// korvex5: the main program. Its windows live in korvex_gui; this only starts them.

#include <QApplication>
#include <QDir>
#include <QScreen>

#include "platform/qt_desktop.h"
#include "platform/qt_dialogs.h"
#include "platform/text_conversion.h"
#include "shell/main_window.h"
#include "shell/program_info.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(korvex::ui::programIcon());
    const QString folder = QCoreApplication::applicationDirPath();
    // Every path of the program, `\inc\` lines included, is relative to its own folder.
    QDir::setCurrent(folder);

    korvex::platform::QtDialogs dialogs;
    korvex::platform::QtDesktop desktop;
    korvex::ui::MainWindow window(dialogs, desktop,
                                  korvex::store::AppFolder(korvex::platform::toPath(folder)));
    // Without a window manager "maximised" means nothing: fill the screen ourselves.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->availableGeometry());
    }
    window.showMaximized();
    // The start window is the New Project dialog, inside the main window.
    window.newProject();
    return QApplication::exec();
}
