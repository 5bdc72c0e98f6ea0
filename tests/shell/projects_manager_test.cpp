#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "editor/editor_window.h"
#include "shell/main_controls.h"
#include "shell/projects_manager.h"
#include "shell/projects_manager_controls.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::Answer;
using korvex::platform::BoxKind;
using korvex::store::ProjectFolder;
using korvex::testing::Program;
using namespace korvex::ui;

namespace {

QListWidget* listOf(ProjectsManager* manager) {
    return manager->findChild<QListWidget*>(projectsManagerControls::list);
}

/// The titles of the open windows other than Projects Managers, in the order they opened.
QStringList openedTitles(const Program& p) {
    QStringList titles;
    for (QMdiSubWindow* sub : p.area().subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && qobject_cast<ProjectsManager*>(sub->widget()) == nullptr) {
            titles << sub->widget()->windowTitle();
        }
    }
    return titles;
}

/// The project files of Projects, without ".ini".
QStringList projectFiles(const Program& p) {
    return QDir(p.path("Projects")).entryList(QDir::Files, QDir::Name).replaceInStrings(".ini", "");
}

/// Starts the program with `projects` in Projects and opens a Projects Manager with F3.
ProjectsManager* startWithManager(Program& p, const QStringList& projects) {
    for (const QString& name : projects) {
        p.write("Projects/" + name + ".ini", "Text of " + name.toUtf8());
    }
    p.startAndSettle();
    QTest::keyClick(p.window.get(), Qt::Key_F3);
    return p.children<ProjectsManager>().value(0);
}

}  // namespace

class ProjectsManagerTest : public QObject {
    Q_OBJECT
private slots:
    void listedAfterATenthOfASecondThenEnterOpensEverySelected() {
        Program p;
        ProjectsManager* manager = startWithManager(p, {"a", "b", "c", "notes.txt"});
        QVERIFY(manager != nullptr && manager->entries().isEmpty());
        QCOMPARE(manager->findChild<QTimer*>(projectsManagerControls::refreshTimer)->interval(),
                 100);
        QTRY_COMPARE(manager->entries(), (QStringList{"a", "b", "c", "notes.txt"}));
        QListWidget* list = listOf(manager);
        QVERIFY(list->currentRow() == 0 && list->item(0)->isSelected());
        QCOMPARE(p.window->state().openWindows, 1);

        list->item(3)->setSelected(true);
        list->setCurrentRow(2, QItemSelectionModel::Select);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(openedTitles(p), (QStringList{"a", "c", "notes.txt"}));
        QFile record(p.path("Extra/Last.dat"));
        QVERIFY(record.open(QIODevice::ReadOnly));
        QCOMPARE(record.readAll(), QByteArray("\"c\",\"Projects\",\"Projects\\c.ini\"\r\n"));
        QTRY_VERIFY(p.children<ProjectsManager>().isEmpty());
        // Each editor takes its entry in the open-window list as it loads.
        QTRY_COMPARE(p.window->state().openWindows, 3);
    }

    void folderLabelsAreSharedByEveryManager() {
        Program p;
        QVERIFY(p.write("Examples/Welcome.ini", "Hello\r\n"));
        ProjectsManager* first = startWithManager(p, {"mine"});
        QTRY_COMPARE(first->entries(), QStringList{"mine"});
        // "Examples..." opens a second manager that turns to Examples by itself.
        qobject_cast<QPushButton*>(p.child(mainControls::examples))->click();
        ProjectsManager* second = p.children<ProjectsManager>().value(1);
        QTRY_COMPARE(second->entries(), QStringList{"Welcome"});
        // The first sees the shared folder at its next refresh.
        first->findChild<QTimer*>(projectsManagerControls::refreshTimer)->start();
        QTRY_COMPARE(first->entries(), QStringList{"Welcome"});
        QTest::mouseClick(second->findChild<QLabel*>(projectsManagerControls::projects),
                          Qt::LeftButton);
        QTRY_COMPARE(second->entries(), QStringList{"mine"});
        QTest::mouseClick(first->findChild<QLabel*>(projectsManagerControls::examples),
                          Qt::LeftButton);
        QTRY_COMPARE(first->entries(), QStringList{"Welcome"});

        QCOMPARE(p.window->state().prgFolder, ProjectFolder::Examples);
    }

    void actsOnTheFolderItShows_data() {
        QTest::addColumn<bool>("deletes");  // by the Delete key; otherwise opens by Enter
        QTest::newRow("delete") << true;
        QTest::newRow("open") << false;
    }
    void actsOnTheFolderItShows() {
        QFETCH(bool, deletes);
        Program p;
        QVERIFY(p.write("Examples/Birthday.ini", "Example\r\n"));
        ProjectsManager* manager = startWithManager(p, {"Birthday"});
        QTRY_COMPARE(manager->entries(), QStringList{"Birthday"});
        QTest::mouseClick(manager->findChild<QLabel*>("Label1"), Qt::LeftButton);
        QTRY_COMPARE(manager->shownFolder(), ProjectFolder::Examples);
        QVERIFY(manager->findChild<QLabel*>("Label1")->font().bold());
        QVERIFY(!manager->findChild<QLabel*>("Label2")->font().bold());
        // The New Project dialog turns the current folder back to Projects behind its back.
        QTest::keyClick(p.window.get(), Qt::Key_F2);
        QTest::keyClick(p.window->newProjectDialog()->findChild<QLineEdit*>("Text1"),
                        Qt::Key_Escape);
        QCOMPARE(p.window->state().prgFolder, ProjectFolder::Projects);

        QListWidget* list = listOf(manager);
        list->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        if (deletes) {
            p.dialogs.expectMessage(BoxKind::Question, Answer::Yes);
            QTest::keyClick(list, Qt::Key_Delete);
            QCOMPARE(p.dialogs.problems(), QString());
            QVERIFY(!QFile::exists(p.path("Examples/Birthday.ini")));
            QVERIFY(QFile::exists(p.path("Projects/Birthday.ini")));
            return;
        }
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_COMPARE(p.children<korvex::editor::EditorWindow>().size(), 1);
        auto* editor = p.children<korvex::editor::EditorWindow>().first();
        QTRY_COMPARE(editor->projectPath(), QString("Examples\\Birthday"));
    }

    void addedProjectIsSelectedInTheNextManager() {
        Program p;
        ProjectsManager* manager = startWithManager(p, {"a", "c"});
        QTRY_COMPARE(manager->entries().size(), 2);
        manager->findChild<QToolButton*>("Command6")->click();
        QTRY_VERIFY(p.window->newProjectDialog() != nullptr);
        auto* name = p.window->newProjectDialog()->findChild<QLineEdit*>("Text1");
        name->setText("b");
        QTest::keyClick(name, Qt::Key_Return);
        QTRY_COMPARE(p.children<ProjectsManager>().size(), 1);
        ProjectsManager* next = p.children<ProjectsManager>().first();
        QTRY_COMPARE(next->entries(), (QStringList{"a", "b", "c"}));
        QCOMPARE(listOf(next)->currentItem()->text(), QString("b"));
    }

    void deleteAsksAndDeletesOnlyTheSelected_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("cFails");  // c.ini turned into a folder, which is no project
        QTest::addColumn<QStringList>("left");
        QTest::newRow("yes") << Answer::Yes << false << QStringList{"a", "d"};
        QTest::newRow("no") << Answer::No << false << QStringList{"a", "b", "c", "d"};
        QTest::newRow("cancel") << Answer::Cancel << false << QStringList{"a", "b", "c", "d"};
        QTest::newRow("one fails") << Answer::Yes << true << QStringList{"a", "d"};
    }
    void deleteAsksAndDeletesOnlyTheSelected() {
        QFETCH(Answer, answer);
        QFETCH(bool, cFails);
        QFETCH(QStringList, left);
        Program p;
        ProjectsManager* manager = startWithManager(p, {"a", "b", "c", "d"});
        QTRY_COMPARE(manager->entries().size(), 4);
        QVERIFY(!cFails || (QFile::remove(p.path("Projects/c.ini")) &&
                            QDir(p.path("Projects")).mkdir("c.ini")));
        listOf(manager)->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        listOf(manager)->item(2)->setSelected(true);
        p.dialogs.expectMessage(BoxKind::Question, answer);
        if (cFails) {
            p.dialogs.expectMessage(BoxKind::Warning);
        }
        manager->findChild<QToolButton*>(projectsManagerControls::deleteSelected)->click();

        QCOMPARE(p.dialogs.problems(), QString());
        // The question names what it deletes, and Enter alone answers No.
        QCOMPARE(p.dialogs.shown()[0].text,
                 QString("Do you want to delete the selected projects?\n\nb\nc"));
        QCOMPARE(p.dialogs.shown()[0].defaultAnswer, Answer::No);
        QVERIFY(!cFails || p.dialogs.shown()[1].text.startsWith("Could not delete \"" +
                                                                p.path("Projects/c.ini") + "\": "));
        QCOMPARE(projectFiles(p), left);
        QTRY_COMPARE(manager->entries(), left);
        QCOMPARE(listOf(manager)->currentRow(), 1);  // the remembered entry again
    }

    void renameAndCopyAskUntilANameIsFree_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("answers");  // "?" cancels
        QTest::addColumn<QString>("boxes");  // i: input, e: already exists / no name, w: warning
        QTest::addColumn<QStringList>("left");
        const QStringList loop{"a", "b", "x:y?"};  // the same name, a taken one, a free one
        QTest::newRow("rename") << projectsManagerControls::rename << loop << "iiei"
                                << QStringList{"b", "xy"};
        QTest::newRow("copy") << projectsManagerControls::copy << loop << "iiei"
                              << QStringList{"a", "b", "xy"};
        QTest::newRow("cancel") << projectsManagerControls::rename << QStringList{"?"} << "i"
                                << QStringList{"a", "b"};
        QTest::newRow("empty once cleaned, said so")
            << projectsManagerControls::copy << QStringList{"<>", "?"} << "iei"
            << QStringList{"a", "b"};
        QTest::newRow("source gone")
            << projectsManagerControls::rename << QStringList{"c"} << "iw" << QStringList{"b"};
    }
    void renameAndCopyAskUntilANameIsFree() {
        QFETCH(QString, button);
        QFETCH(QStringList, answers);
        QFETCH(QString, boxes);
        QFETCH(QStringList, left);
        Program p;
        ProjectsManager* manager = startWithManager(p, {"a", "b"});
        QTRY_COMPARE(manager->entries().size(), 2);
        QVERIFY(!boxes.contains('w') || QFile::remove(p.path("Projects/a.ini")));
        for (QChar box : boxes) {
            if (box == 'i') {
                const QString typed = answers.takeFirst();
                p.dialogs.expectInput(typed == "?" ? std::nullopt : std::optional<QString>(typed));
            } else {
                p.dialogs.expectMessage(box == 'e' ? BoxKind::Information : BoxKind::Warning);
            }
        }
        manager->findChild<QToolButton*>(button)->click();

        QCOMPARE(p.dialogs.problems(), QString());
        const auto& shown = p.dialogs.shown();
        QCOMPARE(shown[0].caption,
                 button == projectsManagerControls::rename ? "Rename a Project" : "Copy a Project");
        QCOMPARE(shown[0].text + shown[0].defaultText, QString("Type a new name:a"));
        const QString last = shown.back().text;
        QVERIFY2(boxes.size() < 4 || shown[2].text == "This project already exist.",
                 qPrintable(last));
        QVERIFY2(!boxes.contains('w') || last.startsWith("Could not rename"), qPrintable(last));
        QVERIFY2(QTest::currentDataTag() != QByteArray("empty once cleaned, said so") ||
                     shown.at(1).text.startsWith("\"<>\" cannot be"),
                 qPrintable(last));
        QCOMPARE(projectFiles(p), left);
        if (left.contains("xy")) {
            QTRY_COMPARE(manager->entries(), left);
            QCOMPARE(listOf(manager)->currentItem()->text(), QString("xy"));  // the new entry
        }
    }
};

KORVEX_QTEST(ProjectsManagerTest)

#include "projects_manager_test.moc"
