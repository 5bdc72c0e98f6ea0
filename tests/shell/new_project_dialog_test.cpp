#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "output/output_window.h"
#include "platform/twips.h"
#include "shell/new_project_dialog.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::BoxKind;
using korvex::platform::twips;
using korvex::testing::Program;
using namespace korvex::ui;

namespace {

/// The main program as it starts: settled, with the New Project dialog open.
void openDialog(Program& p) {
    p.startAndSettle();
    p.window->newProject();
}

QLineEdit* nameField(const Program& p) {
    return p.window->newProjectDialog()->findChild<QLineEdit*>("Text1");
}

}  // namespace

class NewProjectDialogTest : public QObject {
    Q_OBJECT
private slots:
    void create_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("existing");  // Projects/Letter.ini; empty: none
        QTest::addColumn<bool>("projectsIsAFile");
        QTest::addColumn<int>("box");          // -1: none
        QTest::addColumn<QString>("boxText");  // the box's text begins so
        QTest::addColumn<QString>("opened");   // the project opened; empty: the dialog stays
        QTest::newRow("cleaned name") << "my:proj?" << QByteArray() << false << -1 << ""
                                      << "myproj";
        QTest::newRow("empty name") << "" << QByteArray() << false << -1 << ""
                                    << "";
        QTest::newRow("exists") << "Letter" << QByteArray("Dear") << false
                                << int(BoxKind::Information) << "This project already exist."
                                << "";
        QTest::newRow("empty file counts as absent")
            << "Letter" << QByteArray("") << false << -1 << ""
            << "Letter";
        QTest::newRow("write fails")
            << "Letter" << QByteArray() << true << int(BoxKind::Warning) << "Could not write"
            << "";
    }
    void create() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, existing);
        QFETCH(bool, projectsIsAFile);
        QFETCH(int, box);
        QFETCH(QString, boxText);
        QFETCH(QString, opened);
        Program p;
        if (!existing.isNull()) {
            QVERIFY(p.write("Projects/Letter.ini", existing));
        }
        if (projectsIsAFile) {
            QVERIFY(QDir(p.path("Projects")).removeRecursively());
            QVERIFY(p.write("Projects", "not a folder"));
        }
        openDialog(p);
        if (box >= 0) {
            p.dialogs.expectMessage(BoxKind(box));
        }
        nameField(p)->setText(typed);
        QTest::keyClick(nameField(p), Qt::Key_Return);

        QCOMPARE(p.dialogs.problems(), QString());
        if (box >= 0) {
            const auto& shown = p.dialogs.shown().at(0);
            QVERIFY2(shown.text.startsWith(boxText), qPrintable(shown.text));
            QCOMPARE(shown.caption, QString("Korvex5"));
            if (projectsIsAFile) {
                QVERIFY2(shown.text.contains("Letter.ini"), qPrintable(shown.text));
            }
        }
        const QList<OutputWindow*> windows = p.children<OutputWindow>();
        if (opened.isEmpty()) {
            QVERIFY(windows.isEmpty());
            QVERIFY(p.window->newProjectDialog() != nullptr);
            QTRY_COMPARE(QApplication::focusWidget(), nameField(p));
            QCOMPARE(nameField(p)->text(), typed);
            if (!existing.isNull()) {
                QFile file(p.path("Projects/Letter.ini"));
                QVERIFY(file.open(QIODevice::ReadOnly));
                QCOMPARE(file.readAll(), existing);  // left as it was
            }
            return;
        }
        QTRY_VERIFY(p.window->newProjectDialog() == nullptr);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows[0]->windowTitle(), opened);
        QCOMPARE(windows[0]->projectPath(), "Projects\\" + opened);
        QFile file(p.path("Projects/" + opened + ".ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 7);
        QVERIFY2(lines[1].startsWith("! " + opened.toUtf8() + " --- "), lines[1].constData());
        QCOMPARE(lines[4], "! End " + opened.toUtf8() + "\r");
    }

    void loadListsProjectsAndAClickTakesAName() {
        Program p;
        for (const char* name : {"Projects/b.ini", "Projects/a.ini", "Projects/X.INI",
                                 "Projects/notes.txt", "Examples/e.ini"}) {
            QVERIFY(p.write(name, "x"));
        }
        p.startAndSettle();
        p.window->state().prgFolder = korvex::store::ProjectFolder::Examples;
        p.window->newProject();
        QCOMPARE(p.window->state().prgFolder, korvex::store::ProjectFolder::Projects);
        auto* list = p.window->newProjectDialog()->findChild<QListWidget*>("List1");
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            names << list->item(i)->text();
        }
        QCOMPARE(names, (QStringList{"a", "b", "X.INI"}));

        QListWidgetItem* b = list->item(1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(b).center());
        QCOMPARE(nameField(p)->text(), QString("b"));
        // The taken name exists: Enter says so.
        p.dialogs.expectMessage(BoxKind::Information);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(p.dialogs.problems(), QString());
    }

    void fixedSizeAtTheTopLeftEvenWhenMaximised() {
        Program p;
        openDialog(p);
        auto* sub = qobject_cast<QMdiSubWindow*>(p.window->newProjectDialog()->parentWidget());
        QVERIFY(sub != nullptr);
        const QSize size(twips(4695), twips(6645));
        QCOMPARE(sub->size(), size);
        QCOMPARE(sub->pos(), QPoint(twips(1), twips(1)));
        sub->showMaximized();
        QTRY_VERIFY(!sub->isMaximized());
        QCOMPARE(sub->size(), size);
        QCOMPARE(sub->pos(), QPoint(twips(1), twips(1)));
    }

    void oneDialogAtATimeAndNoOpenWindow() {
        Program p;
        openDialog(p);
        QPointer<NewProjectDialog> first = p.window->newProjectDialog();
        QTest::keyClick(nameField(p), Qt::Key_F2);
        QTRY_VERIFY(first == nullptr);
        QVERIFY(p.window->newProjectDialog() != nullptr);
        QCOMPARE(p.children<NewProjectDialog>().size(), 1);
        QCOMPARE(p.window->state().openWindows, 0);
    }

    void closingCreatesNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "esc";
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("Enter on Cancel") << "enter on cancel";
    }
    void closingCreatesNothing() {
        QFETCH(QString, how);
        Program p;
        openDialog(p);
        nameField(p)->setText("Kept out");
        auto* cancel = p.window->newProjectDialog()->findChild<QPushButton*>("Command2");
        if (how == "esc") {
            QTest::keyClick(nameField(p), Qt::Key_Escape);
        } else if (how == "cancel") {
            cancel->click();
        } else {
            cancel->setFocus();
            QTest::keyClick(cancel, Qt::Key_Return);
        }
        QTRY_VERIFY(p.window->newProjectDialog() == nullptr);
        QVERIFY(QDir(p.path("Projects")).isEmpty());
        QVERIFY(p.children<OutputWindow>().isEmpty());
    }
};

KORVEX_QTEST(NewProjectDialogTest)

#include "new_project_dialog_test.moc"
