#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::BoxKind;
using korvex::testing::Program;

class CreateRuntimeTest : public QObject {
    Q_OBJECT
private slots:
    void folderShownOnlyWhenTheRuntimeWasMade_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("withTemplate");
        QTest::addColumn<QString>("warning");  // empty: none
        QTest::newRow("made") << "Letter" << true << "";
        QTest::newRow("no template") << "Letter" << false << "Could not read \"%1/Extra/qz\": ";
        QTest::newRow("no title") << "" << true << "";
    }
    void folderShownOnlyWhenTheRuntimeWasMade() {
        QFETCH(QString, title);
        QFETCH(bool, withTemplate);
        QFETCH(QString, warning);
        Program p;
        QVERIFY(p.write("Projects/Letter.ini", "Dear\r\n"));
        QVERIFY(!withTemplate || p.write("Extra/qz", "runtime"));
        p.startAndSettle();
        if (!warning.isEmpty()) {
            p.dialogs.expectMessage(BoxKind::Warning);
        }
        p.window->createRuntime(title, "Projects\\Letter");

        QCOMPARE(p.dialogs.problems(), QString());
        const bool made = withTemplate && !title.isEmpty();
        QCOMPARE(QFile::exists(p.path("Compiled/Letter.exe")), made);
        QCOMPARE(p.desktop.requests().size(), made ? 1u : 0u);
        if (made) {
            QCOMPARE(p.desktop.requests()[0].target, p.path("Compiled"));
        } else if (!warning.isEmpty()) {
            QVERIFY(p.dialogs.shown()[0].text.startsWith(warning.arg(p.folder.path())));
        }
    }
};

KORVEX_QTEST(CreateRuntimeTest)

#include "create_runtime_test.moc"
