#include <QSystemTrayIcon>

#include "output/output_window.h"
#include "shell/tray.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/qt_test_main.h"

using korvex::testing::Program;
using namespace korvex::ui;

namespace {

/// The entries of a submenu: caption, and " (off)" when disabled.
QStringList entriesOf(const Program& p, const char* submenu) {
    QStringList entries;
    for (QAction* action : p.window->findChild<QMenu*>(submenu)->actions()) {
        entries << action->text().replace("&&", "&") + (action->isEnabled() ? "" : " (off)");
    }
    return entries;
}

void choose(const Program& p, const char* submenu, int entry) {
    p.window->findChild<QMenu*>(submenu)->actions().at(entry)->trigger();
}

}  // namespace

class TrayTest : public QObject {
    Q_OBJECT
private slots:
    void menusListTheProjectsReadAtStart_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("projects") << QStringList{"b.ini", "R&D.ini", "notes.txt"}
                                  << QStringList{"b", "notes.txt", "R&D"};
        QTest::newRow("none") << QStringList{} << QStringList{"No projects (off)"};
    }
    void menusListTheProjectsReadAtStart() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, entries);
        Program p;
        for (const QString& file : files) {
            QVERIFY(p.write("Projects/" + file, "x"));
        }
        p.startAndSettle();
        QVERIFY(p.write("Projects/later.ini", "x"));  // seen only after a restart
        for (const char* submenu : {"EditX", "GenerateX", "Edit2X", "Generate2X"}) {
            QCOMPARE(entriesOf(p, submenu), entries);
        }
    }

    void trayEntriesRestoreTheWindowBackgroundMenuLeavesIt() {
        Program p;
        QVERIFY(p.write("Projects/Letter.ini", "Dear\r\n"));
        p.startAndSettle();
        p.window->state().prgFolder = korvex::store::ProjectFolder::Examples;
        p.window->hide();  // in the tray
        choose(p, "EditX", 0);
        QVERIFY(p.window->isVisible() && p.window->isMaximized());
        QCOMPARE(p.area().subWindowList().at(0)->widget()->windowTitle(), QString("Letter"));
        QFile record(p.path("Extra/Last.dat"));  // from Projects, the folder the menu lists
        QVERIFY(record.open(QIODevice::ReadOnly));
        QCOMPARE(record.readAll(),
                 QByteArray("\"Letter\",\"Projects\",\"Projects\\Letter.ini\"\r\n"));

        p.window->showNormal();
        p.window->hide();
        p.window->findChild<QAction*>("ShowKorvexX")->trigger();
        QVERIFY(p.window->isVisible() && p.window->isMaximized());

        // A right click on the background, not on a window inside, opens the background menu.
        p.window->showNormal();
        auto* menu = p.window->findChild<QMenu*>("TrayBar2X");
        QWidget* background = p.area().viewport();
        p.area().subWindowList().at(0)->setGeometry(0, 0, 200, 200);
        QTest::mousePress(background, Qt::RightButton, {}, QPoint(100, 100));
        QTest::mousePress(background, Qt::LeftButton, {}, QPoint(400, 400));
        QVERIFY(!menu->isVisible());
        QTest::mousePress(background, Qt::RightButton, {}, QPoint(400, 400));
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        choose(p, "Generate2X", 0);
        QVERIFY(!p.window->isMaximized());
        QCOMPARE(p.children<OutputWindow>().last()->projectPath(), QString("Projects\\Letter"));
    }

    void withoutATrayMinimisingKeepsTheWindowReachable() {
        Program p;
        p.startAndSettle();
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());  // offscreen
        p.window->showMinimized();
        QCoreApplication::processEvents();  // a hide would be deferred to here
        QVERIFY(p.window->isVisible() && p.window->tray().icon() == nullptr);
    }
};

KORVEX_QTEST(TrayTest)

#include "tray_test.moc"
