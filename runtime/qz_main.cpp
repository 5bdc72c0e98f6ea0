// qz: the standalone runtime. It generates once from the script `qz` beside it.

#include <QApplication>
#include <QDir>

#include "engine/random.h"
#include "platform/caret_blink.h"
#include "platform/qt_dialogs.h"
#include "runtime/runtime_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const korvex::platform::CaretBlinkTimeout caretBlink;
    const QString folder = QCoreApplication::applicationDirPath();
    // Relative `\inc\` paths in the script resolve against the program's own folder.
    QDir::setCurrent(folder);

    korvex::engine::Random random;
    korvex::platform::QtDialogs dialogs;
    korvex::ui::RuntimeWindow window(dialogs, folder, random);
    window.show();
    return QApplication::exec();
}
