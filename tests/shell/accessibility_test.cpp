#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "editor/editor_window.h"
#include "output/output_window.h"
#include "shell/projects_manager.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/qt_test_main.h"

using korvex::testing::Program;
using namespace korvex::ui;

namespace {

/// What a screen reader would not be able to name in `window`: the controls a user works
/// with (buttons, fields, lists, text boxes) whose accessible name is empty, and the fields a
/// label stands beside without being their label.
QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<QLineEdit*>(widget) != nullptr ||
                             (qobject_cast<QAbstractScrollArea*>(widget) != nullptr &&
                              widget->objectName() != "MDIArea");
        if (!control || !widget->isVisibleTo(window)) {
            continue;
        }
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
        if (node == nullptr || node->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed << widget->objectName() + " (" + widget->metaObject()->className() + ")";
        }
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* field = label->buddy();
        // Qt reports no label relation for lists: they carry the label's words as their name.
        if (field == nullptr || qobject_cast<QAbstractItemView*>(field) != nullptr) {
            continue;
        }
        bool labelled = false;
        for (const auto& relation :
             QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label)) {
            labelled = labelled || relation.first->object() == label;
        }
        if (!labelled) {
            unnamed << field->objectName() + " has no label";
        }
    }
    return unnamed;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlHasAName_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"main", "new project", "projects manager", "editor", "output"}) {
            QTest::newRow(window) << window;
        }
    }
    void everyControlHasAName() {
        QFETCH(QString, window);
        Program p;
        QVERIFY(p.write("Projects/Song.ini", "la\r\n"));
        p.startAndSettle();
        QWidget* shown = p.window.get();
        if (window == "new project") {
            p.window->newProject();
            shown = p.window->newProjectDialog();
        } else if (window == "projects manager") {
            p.window->openProjects(QString());
            shown = p.children<ProjectsManager>().value(0);
        } else if (window == "editor") {
            p.window->openEditor("Song");
            QTRY_VERIFY(!p.children<korvex::editor::EditorWindow>().isEmpty());
            shown = p.children<korvex::editor::EditorWindow>().first();
        } else if (window == "output") {
            p.window->openOutput("Song", "Projects\\Song");
            shown = p.children<OutputWindow>().value(0);
        }
        QVERIFY(shown != nullptr);
        QCOMPARE(unnamedControls(shown).join(", "), QString());
    }

    void managerButtonsTakeTheFocusAndEnterPressesTheFocusedOne() {
        Program p;
        QVERIFY(p.write("Projects/Song.ini", "la\r\n"));
        p.startAndSettle();
        p.window->openProjects(QString());
        ProjectsManager* manager = p.children<ProjectsManager>().value(0);
        QTRY_COMPARE(manager->entries(), QStringList{"Song"});
        auto* rename = manager->findChild<QAbstractButton*>("Command4");
        QCOMPARE(QAccessible::queryAccessibleInterface(rename)->text(QAccessible::Name),
                 QString("Rename a Project"));
        QCOMPARE(
            QAccessible::queryAccessibleInterface(manager->findChild<QAbstractButton*>("Command6"))
                ->text(QAccessible::Name),
            QString("Add New Project"));
        QVERIFY(rename->focusPolicy() & Qt::TabFocus);
        rename->setFocus();
        p.dialogs.expectInput(std::nullopt);
        QTest::keyClick(rename, Qt::Key_Return);
        QCOMPARE(p.dialogs.problems(), QString());
        QCOMPARE(p.dialogs.shown().at(0).caption, QString("Rename a Project"));
    }
};

KORVEX_QTEST(AccessibilityTest)

#include "accessibility_test.moc"
