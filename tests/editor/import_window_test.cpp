#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <optional>

#include "editor/import_controls.h"
#include "editor/import_window.h"
#include "tests/output/output_program.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"

namespace importControls = korvex::editor::importControls;

using namespace korvex::platform;
using korvex::editor::ImportWindow;
using korvex::testing::OutputProgram;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

QPlainTextEdit* textOf(QWidget* window) {
    return window->findChild<QPlainTextEdit*>(importControls::text);
}

QColor colourOf(QWidget* window) {
    return textOf(window)->palette().color(QPalette::Text);
}

ImportWindow* openImport(OutputProgram& program) {
    auto* window = new ImportWindow(program.state);
    program.commands.addChild(window);
    return window;
}

void clickText(QWidget* window) {
    QTest::mouseClick(textOf(window)->viewport(), Qt::LeftButton);
}

void clickButton(QWidget* window, const char* name) {
    QTest::mouseClick(window->findChild<QToolButton*>(name), Qt::LeftButton);
}

/// Pastes `text` into the window's text box through the clipboard, as the user does.
void paste(QWidget* window, const QString& text) {
    QApplication::clipboard()->setText(text);
    textOf(window)->paste();
}

}  // namespace

class ImportWindowTest : public QObject {
    Q_OBJECT
private slots:
    void runPutsTheInstructionInFront_data() {
        QTest::addColumn<bool>("clickFirst");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("grey");
        QTest::newRow("cancel") << false << "" << std::optional<QString>()
                                << "Paste text here e click on first button.\n"
                                << true;
        QTest::newRow("empty answer") << true << "one\r\n\r\ntwo\r\n"
                                      << std::optional<QString>("") << "    one\n    \n    two\n"
                                      << false;
        QTest::newRow("placeholder itself") << false << "" << std::optional<QString>("> ")
                                            << "> Paste text here e click on first button.\n"
                                            << false;
        QTest::newRow("pasted without a click")
            << false << "one\r\ntwo" << std::optional<QString>("") << "    one\n    two\n"
            << false;
        QTest::newRow("empty box") << true << "" << std::optional<QString>("#") << "#\n" << false;
    }
    void runPutsTheInstructionInFront() {
        QFETCH(bool, clickFirst);
        QFETCH(QString, pasted);
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, shown);
        QFETCH(bool, grey);
        OutputProgram program;
        ImportWindow* window = openImport(program);
        QCOMPARE(program.state.openWindows, 1);
        QCOMPARE(colourOf(window), ImportWindow::kPlaceholderColour);
        if (clickFirst) {
            clickText(window);
            QCOMPARE(textOf(window)->toPlainText(), QString());
            QCOMPARE(colourOf(window), ImportWindow::kTextColour);
        }
        paste(window, pasted);

        program.dialogs.expectInput(answer);
        clickButton(window, importControls::run);
        QCOMPARE(program.dialogs.problems(), QString());
        const auto& box = program.dialogs.shown().at(0);
        QCOMPARE(box.caption, QString("Type a Instruction for Initial Line"));
        QCOMPARE(box.text, QString("Instruction:"));
        QCOMPARE(box.defaultText, QString());
        QCOMPARE(box.parent, window);
        QCOMPARE(textOf(window)->toPlainText(), shown);
        QCOMPARE(colourOf(window),
                 grey ? ImportWindow::kPlaceholderColour : ImportWindow::kTextColour);
        // Nothing is written on the way: Temp.txt belongs to the last generation.
        QVERIFY(!std::filesystem::exists(program.folder.path() / "Temp.txt"));
    }

    void runTwicePrefixesTwice() {
        OutputProgram program;
        ImportWindow* window = openImport(program);
        clickText(window);
        paste(window, "a\r\nb");
        program.dialogs.expectInput("-").expectInput("+");
        clickButton(window, importControls::run);
        clickButton(window, importControls::run);
        QCOMPARE(program.dialogs.problems(), QString());
        QCOMPARE(textOf(window)->toPlainText(), QString("+-a\n+-b\n"));
    }

    void typingLeavesThePlaceholderFirst() {
        OutputProgram program;
        ImportWindow* window = openImport(program);
        QTest::keyClicks(textOf(window), "kept");
        QCOMPARE(textOf(window)->toPlainText(), QString("kept"));
        clickText(window);
        QCOMPARE(textOf(window)->toPlainText(), QString("kept"));
        QCOMPARE(colourOf(window), ImportWindow::kTextColour);
    }

    void copyAllCopiesAndShowsTheNote_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("spaces only") << "   "
                                     << "before";
        QTest::newRow("two lines") << "one\r\ntwo"
                                   << "one\r\ntwo";
    }
    void copyAllCopiesAndShowsTheNote() {
        QFETCH(QString, pasted);
        QFETCH(QString, clipboard);
        OutputProgram program;
        ImportWindow* window = openImport(program);
        clickText(window);
        paste(window, pasted);
        QApplication::clipboard()->setText("before");
        auto* note = window->findChild<QLabel*>(importControls::copiedNote);
        auto* timer = window->findChild<QTimer*>("TextCopy");

        clickButton(window, importControls::copyAll);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
        const bool copied = clipboard != "before";
        QCOMPARE(note->isVisible(), copied);
        QCOMPARE(timer->isActive(), copied);
        if (!copied) {
            return;
        }
        QCOMPARE(note->text(), QString("Copied in memory."));
        QCOMPARE(timer->interval(), 1500);
        QCOMPARE(textOf(window)->textCursor().selectedText().size(), pasted.size() - 1);
        QTRY_VERIFY(!note->isVisible());
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
    }

    void escCloses() {
        OutputProgram program;
        QPointer<ImportWindow> window = openImport(program);
        clickText(window);
        QTest::keyClick(textOf(window), Qt::Key_Escape);
        QTRY_VERIFY(window.isNull());
        QCOMPARE(program.state.openWindows, 0);
        QVERIFY(program.area.subWindowList().isEmpty());
    }

    void openingAgainStartsAFreshWindow() {
        korvex::testing::Program program;
        program.startAndSettle();
        program.window->openImport();
        QPointer<ImportWindow> first = program.children<ImportWindow>().value(0);
        QVERIFY(first != nullptr);
        clickText(first);
        paste(first, "typed");

        program.window->openImport();
        QTRY_VERIFY(first.isNull());
        const QList<ImportWindow*> open = program.children<ImportWindow>();
        QCOMPARE(open.size(), 1);
        QCOMPARE(textOf(open[0])->toPlainText(),
                 QString("Paste text here e click on first button.\n"));
        QCOMPARE(colourOf(open[0]), ImportWindow::kPlaceholderColour);
        QCOMPARE(program.window->state().openWindows, 1);
    }
};

KORVEX_QTEST(ImportWindowTest)
#include "import_window_test.moc"
