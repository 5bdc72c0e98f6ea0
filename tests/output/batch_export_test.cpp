// "Export Many Texts...": the questions asked once, each when a text first reaches it, the
// texts written off the window's thread with the program free meanwhile, a stop half-way, a
// close during a batch, and failures told.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "output/batch_dialog.h"
#include "output/batch_export.h"
#include "tests/output/output_program.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/modal.h"
#include "tests/support/qt_test_main.h"
#include "widgets/window_parts.h"

using namespace korvex::platform;
using korvex::testing::OutputProgram;
using korvex::testing::RecordingDesktop;
using korvex::ui::BatchDialog;
using korvex::ui::BatchExport;
using korvex::ui::OutputWindow;

namespace {

QString path(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

// A window on `name` whose first generation is over.
OutputWindow* openGenerated(OutputProgram& program, const QString& name) {
    OutputWindow* window = program.open(name);
    QSignalSpy generated(window, &OutputWindow::generated);
    if (!generated.wait(5000)) {
        return nullptr;
    }
    return window;
}

// Chooses "Export Many Texts..." and fills in its dialog; returns the batch started.
// A generated text of thirty choices: half a million such texts take seconds, so a batch of
// them is still running when a test stops it or closes its window.
OutputWindow* openManyChoices(OutputProgram& program) {
    QStringList script;
    for (int b = 0; b < 30; ++b) {
        script << "{alpha|beta|gamma|delta}"
               << "\\s\\";
    }
    program.writeProject("Many", script);
    return openGenerated(program, "Many");
}

BatchExport* exportMany(OutputWindow* window, int count, bool csv, const QString& folder = {}) {
    korvex::testing::whenModal<BatchDialog>([=](BatchDialog* dialog) {
        dialog->findChild<QSpinBox*>("BatchCount")->setValue(count);
        dialog->findChild<QRadioButton*>(csv ? "BatchCsv" : "BatchFiles")->setChecked(true);
        if (!folder.isEmpty()) {
            dialog->findChild<QLineEdit*>("BatchFolder")->setText(folder);
        }
        dialog->accept();
    });
    window->findChild<QAction*>("ExportManyTextsX")->trigger();
    return window->findChild<BatchExport*>("BatchExport");
}

}  // namespace

class BatchExportTest : public QObject {
    Q_OBJECT
private slots:
    void questionsAreAskedOnceForEveryText() {
        OutputProgram program;
        program.writeProject("Letter", {"\\msg\\ Starting", "\\inp\\1_Your name?_who",
                                        "Dear \\who\\,\\b\\{one|two|three|four}"});
        program.dialogs.expectMessage(BoxKind::Information).expectInput(QStringLiteral("Ann"));
        OutputWindow* window = openGenerated(program, "Letter");
        QVERIFY(window);
        // The window's own run asked its two boxes; the batch asks them once more, for all.
        program.dialogs.expectMessage(BoxKind::Information).expectInput(QStringLiteral("Bob"));
        QString defaultFolder;
        korvex::testing::whenModal<BatchDialog>([&](BatchDialog* dialog) {
            defaultFolder = dialog->findChild<QLineEdit*>("BatchFolder")->text();
            dialog->findChild<QSpinBox*>("BatchCount")->setValue(12);
            dialog->accept();
        });
        window->findChild<QAction*>("ExportManyTextsX")->trigger();
        auto* batch = window->findChild<BatchExport*>("BatchExport");
        QVERIFY(batch);
        QSignalSpy finished(batch, &BatchExport::finished);
        QVERIFY(finished.wait(10000));

        const auto exported = program.folder.path() / "Exported";
        QCOMPARE(defaultFolder, path(exported));
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().size(), 4u);
        for (int n = 1; n <= 12; ++n) {
            const auto file =
                exported /
                QStringLiteral("Letter-%1.txt").arg(n, 5, 10, QLatin1Char('0')).toStdString();
            const std::string text = korvex::testing::readBytes(file);
            QVERIFY2(text.starts_with("Dear Bob,\r\n"), text.c_str());
        }
        QVERIFY(!std::filesystem::exists(exported / "Letter-00013.txt"));
        QCOMPARE(
            program.desktop.requests().back(),
            (RecordingDesktop::Request{RecordingDesktop::Action::OpenFolder, path(exported), {}}));
    }

    void aQuestionReachedOnlyAfterAJumpIsAskedWhenATextReachesIt() {
        OutputProgram program;
        // About a third of the texts jump to Leaf, whose question the first text may never see.
        program.writeProject("Fork", {"\\rnd\\ 3", "\\if\\ 3 = Leaf", "stem"});
        program.writeProject("Leaf", {"\\inp\\1_Name?_who", "leaf[\\who\\]"});
        OutputWindow* window = program.open("Fork");
        window->findChild<QTimer*>("GenerateNew")->stop();  // only the batch's texts
        program.dialogs.expectInput(QStringLiteral("Bob"));
        BatchExport* batch = exportMany(window, 60, false);
        QVERIFY(batch);
        QSignalSpy finished(batch, &BatchExport::finished);
        QVERIFY(finished.wait(10000));

        QCOMPARE(program.dialogs.problems(), QString());
        const auto exported = program.folder.path() / "Exported";
        int leaves = 0;
        for (int n = 1; n <= 60; ++n) {
            std::string text = korvex::testing::readBytes(
                exported /
                QStringLiteral("Fork-%1.txt").arg(n, 5, 10, QLatin1Char('0')).toStdString());
            text = text.substr(0, text.find('\r'));
            leaves += text == "leaf[Bob]" ? 1 : 0;
            QVERIFY2(text == "stem" || text == "leaf[Bob]", text.c_str());
        }
        QVERIFY(leaves > 0);
    }

    void aStoppedBatchKeepsWhatItWrote() {
        OutputProgram program;
        OutputWindow* window = openManyChoices(program);
        QVERIFY(window);
        program.dialogs.expectMessage(BoxKind::Information);
        BatchExport* batch = exportMany(window, 500'000, true);
        QVERIFY(batch);
        QSignalSpy finished(batch, &BatchExport::finished);
        auto* progress = window->findChild<QProgressDialog*>("BatchProgress");
        QVERIFY(progress);
        // The window's thread stays free while the texts are written.
        QTRY_VERIFY(progress->value() > 0);
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        QVERIFY(finished.wait(10000));

        QCOMPARE(program.dialogs.problems(), QString());
        const QString told = program.dialogs.shown().back().text;
        QVERIFY2(told.startsWith("Stopped after ") && told.contains(" of 500,000 texts"),
                 qPrintable(told));
        // The records written before the stop are in place, the last one whole.
        const std::string csv =
            korvex::testing::readBytes(program.folder.path() / "Exported" / "Many.csv");
        const auto records = std::count(csv.begin(), csv.end(), '\n') - 1;
        QVERIFY(records > 0 && records < 500'000);
        QVERIFY(told.startsWith(QStringLiteral("Stopped after %L1 of").arg(records)));
        QVERIFY(csv.ends_with("\r\n"));
        QVERIFY(program.desktop.requests().empty());  // nothing to show for a stopped batch
    }

    void closingTheWindowDuringABatchAsksWhetherToStopIt() {
        OutputProgram program;
        OutputWindow* window = openManyChoices(program);
        QVERIFY(window);
        QPointer<BatchExport> batch = exportMany(window, 500'000, true);
        QVERIFY(batch);
        auto* progress = window->findChild<QProgressDialog*>("BatchProgress");
        QTRY_VERIFY(progress->value() > 0);
        // The progress box holds nothing else of the program back.
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        program.dialogs.expectMessage(BoxKind::Question, Answer::No);
        QVERIFY(!korvex::ui::outerWindow(window)->close());
        QVERIFY(batch->isRunning());
        QCOMPARE(program.dialogs.shown().back().defaultAnswer, Answer::No);

        program.dialogs.expectMessage(BoxKind::Question, Answer::Yes);
        QVERIFY(korvex::ui::outerWindow(window)->close());
        QTRY_VERIFY(!batch);
        QCOMPARE(program.dialogs.problems(), QString());
        QVERIFY(program.dialogs.shown().back().text.startsWith("Export Many Texts has written "));
    }

    void failuresNameTheFileAndExistingFilesAreAskedAbout() {
        OutputProgram program;
        program.writeProject("Note", {"{yes|no}"});
        OutputWindow* window = openGenerated(program, "Note");
        QVERIFY(window);

        // A file where the folder should be.
        const auto blocked = program.folder.write("blocked", "a file");
        program.dialogs.expectMessage(BoxKind::Warning);
        BatchExport* batch = exportMany(window, 3, false, path(blocked));
        QSignalSpy failed(batch, &BatchExport::finished);
        QVERIFY(failed.wait(10000));
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().back().text,
                 QStringLiteral("Could not write \"%1\": Not a directory.").arg(path(blocked)));
        QVERIFY(program.desktop.requests().empty());

        // A file of the export that exists is replaced only when the user says so.
        const auto exported = program.folder.path() / "Exported";
        korvex::testing::writeBytes(exported / "Note-00002.txt", "mine");
        program.dialogs.expectMessage(BoxKind::Question, Answer::No);
        exportMany(window, 3, false);
        QTRY_VERIFY(!window->findChild<BatchExport*>("BatchExport"));
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(program.dialogs.shown().back().text,
                 QStringLiteral("\"%1\" already exists. Replace the files of this export that "
                                "exist?")
                     .arg(path(exported / "Note-00002.txt")));
        QCOMPARE(program.dialogs.shown().back().defaultAnswer, Answer::No);
        QVERIFY(!std::filesystem::exists(exported / "Note-00001.txt"));
        QCOMPARE(korvex::testing::readBytes(exported / "Note-00002.txt"), std::string("mine"));

        program.dialogs.expectMessage(BoxKind::Question, Answer::Yes);
        batch = exportMany(window, 3, false);
        QSignalSpy replaced(batch, &BatchExport::finished);
        QVERIFY(replaced.wait(10000));
        QCOMPARE(program.dialogs.problems(), QString());
        QVERIFY(korvex::testing::readBytes(exported / "Note-00002.txt") != "mine");
        QCOMPARE(program.desktop.requests().size(), 1u);
    }
};

KORVEX_QTEST(BatchExportTest)
#include "batch_export_test.moc"
