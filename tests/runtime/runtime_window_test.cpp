#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include <sys/stat.h>

#include "platform/twips.h"
#include "runtime/runtime_controls.h"
#include "runtime/runtime_window.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"
#include "tests/support/scripted_dialogs.h"

namespace runtimeControls = korvex::ui::runtimeControls;

using namespace korvex::platform;
using korvex::testing::ScriptedDialogs;
using korvex::ui::RuntimeWindow;

namespace {

/// One start of the runtime in a folder of its own: the window, its dialogs and its generator.
struct Runtime {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    korvex::engine::Random random{20240101};
    std::unique_ptr<RuntimeWindow> window;
    std::unique_ptr<QSignalSpy> generated;

    /// Writes a file into the folder, each line ended by CR LF.
    bool write(const QString& name, const QStringList& lines) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
        for (const QString& line : lines) {
            file.write(line.toUtf8() + "\r\n");
        }
        return true;
    }

    void start() {
        window = std::make_unique<RuntimeWindow>(dialogs, folder.path(), random);
        generated = std::make_unique<QSignalSpy>(window.get(), &RuntimeWindow::generated);
        window->show();
    }

    QPlainTextEdit* text() const {
        return window->findChild<QPlainTextEdit*>(runtimeControls::text);
    }
    QTimer* timer() const { return window->findChild<QTimer*>(runtimeControls::startTimer); }
    bool exists(const QString& name) const { return QFileInfo::exists(folder.filePath(name)); }
};

}  // namespace

class RuntimeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowAsItOpens() {
        Runtime run;
        run.window = std::make_unique<RuntimeWindow>(run.dialogs, run.folder.path(), run.random);
        RuntimeWindow& window = *run.window;
        QCOMPARE(window.objectName(), QString(runtimeControls::window));
        QCOMPARE(window.windowTitle(), QString("Korvex Compiler"));
        QCOMPARE(window.size(), QSize(twips(7395), twips(5385)));

        QPlainTextEdit* text = run.text();
        QVERIFY(text != nullptr);
        QCOMPARE(text->font().family(), QString("Courier New"));
        QCOMPARE(text->font().pointSizeF(), 11.25);
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!text->isReadOnly());

        QTimer* timer = run.timer();
        QVERIFY(timer != nullptr);
        QCOMPARE(timer->interval(), 100);
        QVERIFY(timer->isSingleShot());
        QVERIFY(!timer->isActive());  // until the window loads
    }

    void scriptWithMessagesInputJumpAndEnd() {
        Runtime run;
        QVERIFY(run.write(
            "qz", {"! greeting", "\\msg\\ Hello there", "\\if\\ 0 = Second",
                   "\\inp\\1_Your name?_who", "Dear\\s\\\\who\\,\\b\\{Sir|Sir}", "\\end\\"}));
        run.dialogs.expectMessage(BoxKind::Information).expectInput(QStringLiteral("Ann"));
        // What the user sees while each box is open.
        QStringList textsWhileAsked;
        QStringList captionsWhileAsked;
        run.dialogs.setOnShown([&](const ScriptedDialogs::Shown&) {
            textsWhileAsked << run.text()->toPlainText();
            captionsWhileAsked << run.window->windowTitle();
        });

        run.start();
        QVERIFY(run.timer()->isActive());
        QVERIFY(run.dialogs.shown().empty());  // nothing before the first tick
        QTRY_COMPARE(run.generated->count(), 1);

        QCOMPARE(run.dialogs.problems(), QString());
        const auto& shown = run.dialogs.shown();
        QCOMPARE(shown.size(), 2u);
        QCOMPARE(shown[0].kind, BoxKind::Information);
        QCOMPARE(shown[0].caption, QString("Korvex"));
        QCOMPARE(shown[0].text, QString("Hello there"));
        QCOMPARE(shown[0].parent, run.window.get());
        QCOMPARE(shown[1].kind, BoxKind::Input);
        QCOMPARE(shown[1].caption, QString("Korvex"));
        QCOMPARE(shown[1].text, QString("Your name?"));
        QCOMPARE(shown[1].defaultText, QString());
        QCOMPARE(textsWhileAsked, (QStringList{"", ""}));
        QCOMPARE(captionsWhileAsked, (QStringList{"Second", "Second"}));

        QCOMPARE(run.text()->toPlainText(), QString("Dear Ann,\nSir"));
        QCOMPARE(run.window->windowTitle(), QString("Second"));
        QVERIFY(!run.window->isVisible());  // \end\ closed the window
        QVERIFY(!run.exists("Temp.txt"));
        QVERIFY(!run.exists("Temp"));
        QVERIFY(run.exists("qz"));
    }

    void cancelledInputLeavesNothingAndTheWindowStays() {
        Runtime run;
        QVERIFY(run.write("qz", {"\\inp\\1_Your name?_who", "Dear \\who\\!"}));
        run.dialogs.expectInput(std::nullopt);
        run.start();
        QTRY_COMPARE(run.generated->count(), 1);
        QCOMPARE(run.dialogs.problems(), QString());
        QCOMPARE(run.text()->toPlainText(), QString("Dear !"));
        QCOMPARE(run.window->windowTitle(), QString("Korvex Compiler"));
        QVERIFY(run.window->isVisible());
        QCOMPARE(run.window->focusWidget(), run.text());
    }

    void unreadableScriptIsNamedInAWarning_data() {
        QTest::addColumn<QString>("script");  // what lies beside the runtime as `qz`
        QTest::addColumn<QString>("reason");  // empty: no warning
        QTest::newRow("missing") << "none"
                                 << "No such file or directory";
        QTest::newRow("folder") << "folder"
                                << "Is a directory";
        QTest::newRow("pipe") << "fifo"
                              << "Operation not supported";
        QTest::newRow("empty file is a script") << "empty"
                                                << "";
    }
    void unreadableScriptIsNamedInAWarning() {
        QFETCH(QString, script);
        QFETCH(QString, reason);
        Runtime run;
        const QString path = run.folder.filePath("qz");
        if (script == "folder") {
            QVERIFY(QDir(run.folder.path()).mkdir("qz"));
        } else if (script == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (script == "empty") {
            QVERIFY(run.write("qz", {}));
        }
        QString textWhenWarned = "not shown";
        run.dialogs.setOnShown(
            [&](const ScriptedDialogs::Shown&) { textWhenWarned = run.text()->toPlainText(); });
        if (!reason.isEmpty()) {
            run.dialogs.expectMessage(BoxKind::Warning);
        }

        run.start();
        QTRY_COMPARE(run.generated->count(), 1);

        QCOMPARE(run.dialogs.problems(), QString());
        if (reason.isEmpty()) {
            QVERIFY(run.dialogs.shown().empty());
        } else {
            QCOMPARE(run.dialogs.shown().size(), 1u);
            const ScriptedDialogs::Shown& warning = run.dialogs.shown().at(0);
            QCOMPARE(warning.kind, BoxKind::Warning);
            QCOMPARE(warning.caption, QString("Korvex"));
            QCOMPARE(warning.text, QString("Could not read \"%1\": %2.").arg(path, reason));
            QCOMPARE(warning.parent, run.window.get());
            QCOMPARE(textWhenWarned, QString());
        }
        QCOMPARE(run.text()->toPlainText(), QString());
        QCOMPARE(run.window->windowTitle(), QString("Korvex Compiler"));
        QVERIFY(run.window->isVisible());
        QVERIFY(!run.exists("Temp.txt"));
        QVERIFY(!run.exists("Temp"));
    }

    void generatesOnceOnly() {
        Runtime run;
        QVERIFY(run.write("qz", {"\\msg\\ once"}));
        run.dialogs.expectMessage(BoxKind::Information);
        run.start();
        QTRY_COMPARE(run.generated->count(), 1);
        run.window->hide();
        run.window->show();  // restoring the window does not load it again
        QTest::qWait(300);
        QCOMPARE(run.generated->count(), 1);
        QCOMPARE(run.dialogs.problems(), QString());
    }

    void textBoxFillsTheClientArea() {
        Runtime run;
        QVERIFY(run.write("qz", {}));
        run.start();
        QTRY_COMPARE(run.generated->count(), 1);
        const int offset = twips(15);
        QCOMPARE(run.text()->geometry(),
                 QRect(offset, offset, run.window->width(), run.window->height()));
        for (const QSize size : {QSize(640, 480), QSize(200, 120), QSize(900, 300)}) {
            run.window->resize(size);
            QTRY_COMPARE(run.window->size(), size);
            QCOMPARE(run.text()->geometry(), QRect(QPoint(offset, offset), size));
        }
    }

    void usersOwnTempFolderIsKept() {
        Runtime run;
        QVERIFY(QDir(run.folder.path()).mkdir("Temp"));
        QVERIFY(run.write("Temp/mine.txt", {"keep me"}));
        QVERIFY(run.write("qz", {"{a|a}"}));
        run.start();
        QTRY_COMPARE(run.generated->count(), 1);
        QCOMPARE(run.text()->toPlainText(), QString("a"));
        QVERIFY(run.exists("Temp/mine.txt"));
        QVERIFY(!run.exists("Temp.txt"));
        QCOMPARE(QDir(run.folder.filePath("Temp")).entryList(QDir::Files), QStringList{"mine.txt"});
    }

    void includesResolveInTheProgramsFolder() {
        Runtime run;
        QVERIFY(run.write("part.txt", {"first {a|b}", "second"}));
        QVERIFY(run.write("qz", {"\\inc\\part.txt", "end"}));
        run.start();
        QTRY_COMPARE(run.generated->count(), 1);
        QCOMPARE(run.text()->toPlainText(), QString("first {a|b}\nsecond\nend"));
    }

    void endlessJumpsStopWithAWarning() {
        Runtime run;
        QVERIFY(run.write("qz", {"\\if\\ 0 = Loop", "\\if\\ -1000 = Loop", "done"}));
        QString textWhenWarned;
        run.dialogs.setOnShown(
            [&](const ScriptedDialogs::Shown&) { textWhenWarned = run.text()->toPlainText(); });
        run.dialogs.expectMessage(BoxKind::Warning);
        run.start();
        QTRY_COMPARE_WITH_TIMEOUT(run.generated->count(), 1, 20000);
        QCOMPARE(run.dialogs.problems(), QString());
        const ScriptedDialogs::Shown& warning = run.dialogs.shown().at(0);
        QCOMPARE(warning.caption, QString("Korvex"));
        QVERIFY(!warning.text.isEmpty());
        QVERIFY(textWhenWarned.endsWith("done"));  // the text is out before the warning
        QCOMPARE(run.window->windowTitle(), QString("Loop"));
        QVERIFY(run.window->isVisible());
    }
};

KORVEX_QTEST(RuntimeWindowTest)

#include "runtime_window_test.moc"
