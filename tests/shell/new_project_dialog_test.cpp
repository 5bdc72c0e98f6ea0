#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "editor/editor_window.h"
#include "platform/twips.h"
#include "shell/new_project_controls.h"
#include "shell/new_project_dialog.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::BoxKind;
using korvex::platform::twips;
using korvex::testing::Program;
using namespace korvex::ui;
using korvex::editor::EditorWindow;

namespace {

/// The open dialog's control `name` (other windows have controls of the same names).
template <typename W = QWidget>
W* control(const Program& p, const char* name) {
    return p.window->newProjectDialog()->findChild<W*>(name);
}

QLineEdit* nameField(const Program& p) {
    return control<QLineEdit>(p, newProjectControls::name);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class NewProjectDialogTest : public QObject {
    Q_OBJECT
private slots:
    void create_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("existing");  // Projects/Letter.ini; null: none
        QTest::addColumn<bool>("projectsIsAFile");
        QTest::addColumn<int>("box");          // -1: none
        QTest::addColumn<QString>("boxText");  // the box's text begins so
        QTest::addColumn<QString>("opened");   // the project opened; empty: the dialog stays
        QTest::newRow("cleaned name") << "my:proj?" << QByteArray() << false << -1 << ""
                                      << "myproj";
        QTest::newRow("empty name") << "" << QByteArray() << false << -1 << ""
                                    << "";
        QTest::newRow("only forbidden characters, said so")
            << "<:>" << QByteArray() << false << int(BoxKind::Information)
            << "\"<:>\" cannot be a project name"
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
        QVERIFY(existing.isNull() || p.write("Projects/Letter.ini", existing));
        if (projectsIsAFile) {
            QVERIFY(QDir(p.path("Projects")).removeRecursively());
            QVERIFY(p.write("Projects", "not a folder"));
        }
        p.startAndSettle();
        p.window->newProject();
        if (box >= 0) {
            p.dialogs.expectMessage(BoxKind(box));
        }
        nameField(p)->setText(typed);
        QTest::keyClick(nameField(p), Qt::Key_Return);

        QCOMPARE(p.dialogs.problems(), QString());
        if (box >= 0) {
            const QString text = p.dialogs.shown().at(0).text;
            QVERIFY2(text.startsWith(boxText), qPrintable(text));
            // A failed write names the file.
            QVERIFY2(!projectsIsAFile || text.contains("Letter.ini"), qPrintable(text));
        }
        const QList<EditorWindow*> windows = p.children<EditorWindow>();
        if (opened.isEmpty()) {
            QVERIFY(windows.isEmpty());
            QTRY_COMPARE(QApplication::focusWidget(), nameField(p));
            QCOMPARE(nameField(p)->text(), typed);
            QCOMPARE(bytesOf(p.path("Projects/Letter.ini")), existing);  // as it was
            return;
        }
        QTRY_VERIFY(p.window->newProjectDialog() == nullptr);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows[0]->windowTitle(), opened);
        QTRY_COMPARE(windows[0]->projectPath(), "Projects\\" + opened);
        const QList<QByteArray> lines = bytesOf(p.path("Projects/" + opened + ".ini")).split('\n');
        QCOMPARE(lines.size(), 7);
        QVERIFY2(lines[1].startsWith("! " + opened.toUtf8() + " --- "), lines[1].constData());
    }

    void listsProjectsAndAClickTakesAName() {
        Program p;
        for (const char* name : {"Projects/b.ini", "Projects/a.ini", "Projects/X.INI",
                                 "Projects/notes.txt", "Examples/e.ini"}) {
            QVERIFY(p.write(name, "x"));
        }
        p.startAndSettle();
        p.window->state().prgFolder = korvex::store::ProjectFolder::Examples;
        p.window->newProject();
        QCOMPARE(p.window->state().prgFolder, korvex::store::ProjectFolder::Projects);
        auto* list = control<QListWidget>(p, newProjectControls::projects);
        QStringList names;
        for (int i = 0; i < list->count(); ++i) {
            names << list->item(i)->text();
        }
        QCOMPARE(names, (QStringList{"a", "b", "X.INI"}));

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(nameField(p)->text(), QString("b"));
        p.dialogs.expectMessage(BoxKind::Information);  // Enter: the name is taken
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(p.dialogs.problems(), QString());
    }

    void oneDialogAtAFixedPlaceCountedAsNoWindowEscCloses() {
        Program p;
        p.startAndSettle();
        p.window->newProject();
        QPointer<NewProjectDialog> first = p.window->newProjectDialog();
        QTest::keyClick(nameField(p), Qt::Key_F2);  // closes it and loads it afresh
        QTRY_VERIFY(first == nullptr);
        QCOMPARE(p.children<NewProjectDialog>().size(), 1);
        QCOMPARE(p.window->state().openWindows, 0);

        auto* sub = qobject_cast<QMdiSubWindow*>(p.window->newProjectDialog()->parentWidget());
        const QRect place(twips(1), twips(1), twips(4695), twips(6645));
        QCOMPARE(sub->geometry(), place);
        sub->showMaximized();
        QTRY_VERIFY(!sub->isMaximized());
        QCOMPARE(sub->geometry(), place);

        nameField(p)->setText("Kept out");
        QTest::keyClick(nameField(p), Qt::Key_Escape);
        QTRY_VERIFY(p.window->newProjectDialog() == nullptr);
        QVERIFY(QDir(p.path("Projects")).isEmpty());
    }
};

KORVEX_QTEST(NewProjectDialogTest)

#include "new_project_dialog_test.moc"
