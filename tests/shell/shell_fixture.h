#pragma once
// One start of the main program in an application folder of its own, with scripted boxes and a
// desktop that records what it is asked to open.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "platform/text_conversion.h"
#include "shell/main_window.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scripted_dialogs.h"

namespace korvex::testing {

struct Program {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    RecordingDesktop desktop;
    std::unique_ptr<ui::MainWindow> window;

    Program() {
        for (const char* sub : {"Projects", "Examples", "Extra", "Temp", "Exported"}) {
            QDir(folder.path()).mkpath(QString::fromLatin1(sub));
        }
    }
    QString path(const QString& relative) const { return folder.filePath(relative); }

    bool write(const QString& relative, const QByteArray& bytes) const {
        QFile file(path(relative));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    /// Constructs and shows the main window, active, as the program does.
    void start(ui::RecordWriter::WriteFunction writeRecord = {}) {
        window = std::make_unique<ui::MainWindow>(dialogs, desktop,
                                                  store::AppFolder(platform::toPath(folder.path())),
                                                  std::move(writeRecord));
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    /// start(), then waits for the start-up tick.
    void startAndSettle(ui::RecordWriter::WriteFunction writeRecord = {}) {
        start(std::move(writeRecord));
        if (window == nullptr) {
            return;
        }
        QSignalSpy started(window.get(), &ui::MainWindow::started);
        QVERIFY(started.wait(2000));
    }

    QMdiArea& area() const { return *window->mdiArea(); }
    /// The window's widget named `name`; the test stops when there is none.
    QWidget* child(const QString& name) const {
        auto* found = window->findChild<QWidget*>(name);
        if (found == nullptr) {
            qFatal("no widget named %s", qPrintable(name));
        }
        return found;
    }

    /// The open sub-windows holding a widget of type W.
    template <typename W>
    QList<W*> children() const {
        QList<W*> found;
        for (QMdiSubWindow* sub : area().subWindowList()) {
            if (auto* widget = qobject_cast<W*>(sub->widget()); widget && sub->isVisible()) {
                found << widget;
            }
        }
        return found;
    }

    /// The object names of the menus in the menu bar, in order.
    QStringList menuBarNames() const {
        QStringList names;
        for (QAction* action : window->menuBar()->actions()) {
            if (action->menu() != nullptr) {
                names << action->menu()->objectName();
            }
        }
        return names;
    }
};

}  // namespace korvex::testing
