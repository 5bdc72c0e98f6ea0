// The editor's colours and the checker's findings on the script being typed.

#include <QAction>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QTreeWidget>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "editor/check_runner.h"
#include "editor/editor_controls.h"
#include "editor/long_lines.h"
#include "editor/script_highlighter.h"
#include "tests/editor/editor_program.h"
#include "tests/support/qt_test_main.h"

namespace editorControls = korvex::editor::editorControls;

using korvex::editor::CheckRunner;
using korvex::editor::EditorWindow;
using korvex::editor::ScriptHighlighter;
using korvex::editor::ScriptStyle;
using korvex::engine::Diagnostic;
using korvex::testing::EditorProgram;
using korvex::testing::pane;

namespace {

QList<QTextLayout::FormatRange> formatsOfLine(QPlainTextEdit* text, int line) {
    return text->document()->findBlockByNumber(line).layout()->formats();
}

QStringList rowTexts(const QTreeWidgetItem* item) {
    return {item->text(0), item->text(1), item->text(2)};
}

}  // namespace

class ScriptCheckingTest : public QObject {
    Q_OBJECT
private slots:
    void findingsListedUnderlinedAndReached() {
        EditorProgram program;
        EditorWindow* window = program.open("Faults", "Hello{a|b\r\nx|y\r\n\\v name\r\n");
        QPlainTextEdit* text = pane(window);
        auto* list = window->findChild<QTreeWidget*>("Diagnostics");
        QVERIFY(list->isHidden());
        const int fullHeight = text->height();

        QTRY_VERIFY(!list->isHidden());
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(rowTexts(list->topLevelItem(0)),
                 QStringList({"1:6", "error",
                              "\"{\" is not closed: its last alternative runs to the end of the "
                              "line"}));
        QCOMPARE(list->topLevelItem(1)->text(0), QString("2:2"));
        QCOMPARE(list->topLevelItem(1)->text(1), QString("warning"));
        QCOMPARE(list->topLevelItem(2)->text(0), QString("3:1"));
        QVERIFY(text->height() < fullHeight);

        const auto underlines = text->extraSelections();
        QCOMPARE(underlines.size(), 3);
        QCOMPARE(underlines[0].cursor.selectedText(), QString("{"));
        QCOMPARE(underlines[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
        QCOMPARE(underlines[0].format.underlineColor(), QColor(0xd32f2f));
        QCOMPARE(underlines[1].format.underlineColor(), QColor(0xe69500));
        QCOMPARE(underlines[2].cursor.selectedText(), QString("\\v"));

        QVERIFY(QTest::qWaitForWindowActive(&program.area));
        QTreeWidgetItem* bar = list->topLevelItem(1);
        // As a person double-clicks: the first click, then the second that makes it double.
        const QPoint place = list->visualItemRect(bar).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place);
        QCOMPARE(text->textCursor().blockNumber(), 1);
        QCOMPARE(text->textCursor().positionInBlock(), 1);
        QTRY_VERIFY(text->hasFocus());
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(text->textCursor().blockNumber(), 0);
        QCOMPARE(text->textCursor().positionInBlock(), 5);

        // The wrapped pane shows the same text, and the underlines go with it.
        window->findChild<QToolButton*>(editorControls::wordWrap)->click();
        QPlainTextEdit* wrapped = pane(window, editorControls::wrappedPane);
        QTRY_COMPARE(wrapped->extraSelections().size(), 3);
        QCOMPARE(text->extraSelections().size(), 0);

        // Mended in the pane and not saved: the text as it stands is what counts.
        wrapped->setPlainText("Hello{a|b}\nx\n\\v name = Sam");
        QTRY_VERIFY(list->isHidden());
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(wrapped->extraSelections().size(), 0);
        QCOMPARE(wrapped->height(), fullHeight);
        QCOMPARE(program.dialogs.problems(), QString());
    }

    void theNoteOnTooManyFindingsHasNoPlace() {
        EditorProgram program;
        EditorWindow* window = program.open("Many", std::string(1500, '}').c_str());
        auto* list = window->findChild<QTreeWidget*>("Diagnostics");
        QTRY_COMPARE(list->topLevelItemCount(), 1001);
        QCOMPARE(rowTexts(list->topLevelItem(1000)),
                 QStringList({"", "note", "only the first 1000 findings are listed"}));
        QCOMPARE(pane(window)->extraSelections().size(), 1000);
    }

    void aLongLineIsColouredAndUnderlinedWhereItIsShown() {
        // A pasted article on one line, a stray "}" each 10,000 characters: colours and
        // underlines near what the pane shows, never all of it.
        std::string line;
        while (line.size() < 200000) {
            line += line.size() % 10000 == 0 ? "a}b words and more, " : "Some{red|blue}text, ";
        }
        line.back() = '.';  // a space at the end would be one more finding
        EditorProgram program;
        EditorWindow* window = program.open("Long", (line + "\r\n").c_str());
        QPlainTextEdit* text = pane(window);
        const auto colouredSpan = [text] {
            const auto formats = formatsOfLine(text, 0);
            return formats.isEmpty() ? std::pair(-1, -1)
                                     : std::pair(formats.first().start,
                                                 formats.last().start + formats.last().length);
        };
        const auto underlined = [text] {
            QList<int> places;
            for (const auto& mark : text->extraSelections()) {
                if (mark.format.underlineStyle() == QTextCharFormat::WaveUnderline) {
                    places << mark.cursor.selectionStart();
                }
            }
            return places;
        };
        auto* list = window->findChild<QTreeWidget*>("Diagnostics");
        QTRY_COMPARE(list->topLevelItemCount(), 20);
        QCOMPARE(underlined(), QList<int>({1}));
        QVERIFY(colouredSpan().first >= 0);
        QVERIFY(colouredSpan().second < korvex::editor::kLongLine);

        QTextCursor middle(text->document());
        middle.setPosition(100000);
        text->setTextCursor(middle);
        QTRY_VERIFY(colouredSpan().first > 90000 && colouredSpan().first < 100000);
        QVERIFY(colouredSpan().second > 100000 && colouredSpan().second < 110000);
        QCOMPARE(underlined(), QList<int>({100001}));
        QVERIFY(!window->isModified());
    }

    void onlyTheLastCheckAskedForIsHeard() {
        std::mutex mutex;
        std::condition_variable released;
        bool release = false;
        std::atomic<int> runs = 0;
        CheckRunner runner([&](std::string_view script, const korvex::engine::CheckOptions&) {
            ++runs;
            if (script == "first") {
                std::unique_lock lock(mutex);
                released.wait(lock, [&] { return release; });
            }
            return std::vector<Diagnostic>{{1, 1, {}, std::string(script), {}}};
        });
        QStringList heard;
        connect(&runner, &CheckRunner::checked, this,
                [&](const std::vector<Diagnostic>& found) { heard << found[0].code.c_str(); });
        runner.check(QStringLiteral("first"), {});
        QTRY_COMPARE(runs.load(), 1);
        runner.check(QStringLiteral("second"), {});
        runner.check(QStringLiteral("third"), {});
        {
            const std::lock_guard lock(mutex);
            release = true;
        }
        released.notify_all();
        QTRY_VERIFY(!runner.isBusy());
        QTRY_COMPARE(heard, QStringList{"third"});
        // "second" was replaced while it waited, so it never ran.
        QCOMPARE(runs.load(), 2);
    }

    void coloursReadableOnEveryBackground() {
        QTextDocument document;
        ScriptHighlighter highlighter(&document);
        for (const QColor background :
             {QColor(Qt::white), QColor(0xf0f0f0), QColor(0x000040), QColor(Qt::black),
              QColor(0x808080), QColor(0xffff80), QColor(0x2b2b2b)}) {
            highlighter.setBackground(background);
            for (const ScriptStyle style :
                 {ScriptStyle::Comment, ScriptStyle::Directive, ScriptStyle::Brace,
                  ScriptStyle::Alternative, ScriptStyle::Marker, ScriptStyle::Reference}) {
                const QColor colour = highlighter.styleFormat(style).foreground().color();
                QVERIFY2(ScriptHighlighter::contrast(colour, background) >=
                             ScriptHighlighter::kMinContrast,
                         qPrintable(colour.name() + " on " + background.name()));
            }
            QVERIFY(highlighter.styleFormat(ScriptStyle::Indent).background().color() !=
                    background);
        }
    }

    void highlightingInBothPanesAndKept() {
        EditorProgram program;
        EditorWindow* window = program.open("Colours", "Hi {a|b}\r\n");
        const auto braceAt = [](QPlainTextEdit* text, int start) {
            for (const auto& range : formatsOfLine(text, 0)) {
                if (range.start == start && range.length == 1) {
                    return range.format.foreground().color() == QColor(0xc43e00);
                }
            }
            return false;
        };
        QPlainTextEdit* text = pane(window);
        QVERIFY(braceAt(text, 3));
        window->findChild<QToolButton*>(editorControls::wordWrap)->click();
        QPlainTextEdit* wrapped = pane(window, editorControls::wrappedPane);
        QVERIFY(braceAt(wrapped, 7));

        auto* highlight = window->findChild<QAction*>("HighlightX");
        QVERIFY(highlight->isChecked());
        highlight->trigger();
        QVERIFY(formatsOfLine(text, 0).isEmpty());
        QVERIFY(formatsOfLine(wrapped, 0).isEmpty());
        QVERIFY(!window->isModified());
        QCOMPARE(program.bytes("Extra/Highlight.ini"), std::string("0\r\n"));

        EditorWindow* next = program.open("Colours");
        QVERIFY(!next->findChild<QAction*>("HighlightX")->isChecked());
        QTest::qWait(0);
        QVERIFY(formatsOfLine(pane(next), 0).isEmpty());
        QCOMPARE(program.dialogs.problems(), QString());
    }
};

KORVEX_QTEST(ScriptCheckingTest)

#include "script_checking_test.moc"
