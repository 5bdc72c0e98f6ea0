#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "platform/text_conversion.h"
#include "runtime/runtime_controls.h"
#include "runtime/runtime_creation.h"
#include "runtime/runtime_window.h"
#include "tests/support/qt_test_main.h"
#include "tests/support/scripted_dialogs.h"

namespace runtimeControls = korvex::ui::runtimeControls;

/// A runtime made from the program actually built, started from its Compiled folder.
class CreatedRuntimeTest : public QObject {
    Q_OBJECT
private slots:
    void startsInCompiledAndGeneratesTheProjectsText() {
        QTemporaryDir app;
        QVERIFY(QDir(app.path()).mkpath("Extra") && QDir(app.path()).mkpath("Projects"));
        QVERIFY(QFile::copy(KORVEX_QZ_FILE, app.filePath("Extra/qz")));
        QFile script(app.filePath("Projects/My letter.ini"));
        QVERIFY(script.open(QIODevice::WriteOnly) &&
                script.write("Dear friend\r\n\\end\\\r\n") > 0);
        script.close();
        QVERIFY(korvex::runtime::createRuntime(
            korvex::store::AppFolder(korvex::platform::toPath(app.path())), "My letter",
            "Projects\\My letter"));
        const QString compiled = app.filePath("Compiled");

        // The copy runs on its own from anywhere, finds its script and ends as the script asks
        // (without its script it would wait on a warning box).
        QProcess runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        runtime.setProcessEnvironment(environment);
        runtime.start(compiled + "/My letter.exe", {});
        QVERIFY2(runtime.waitForFinished(30000), qPrintable(runtime.errorString()));
        QCOMPARE(runtime.exitStatus(), QProcess::NormalExit);
        QCOMPARE(runtime.exitCode(), 0);

        // What its window shows before the end request closes it.
        korvex::testing::ScriptedDialogs dialogs;
        korvex::engine::Random random(7);
        korvex::ui::RuntimeWindow window(dialogs, compiled, random);
        QSignalSpy generated(&window, &korvex::ui::RuntimeWindow::generated);
        window.show();
        QVERIFY(generated.wait(5000));
        QCOMPARE(window.findChild<QPlainTextEdit*>(runtimeControls::text)->toPlainText(),
                 QString("Dear friend"));
        QVERIFY(!window.isVisible());
    }
};

KORVEX_QTEST(CreatedRuntimeTest)

#include "created_runtime_test.moc"
