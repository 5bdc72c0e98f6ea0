// The editor's live preview: refreshed from the text being typed, without boxes and without
// touching the disk, switched off and on from the View menu and kept for the next editor.

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "editor/editor_controls.h"
#include "editor/preview_pane.h"
#include "editor/preview_runner.h"
#include "tests/editor/editor_program.h"
#include "tests/support/qt_test_main.h"

using korvex::editor::EditorWindow;
namespace editorControls = korvex::editor::editorControls;
using korvex::editor::PreviewPane;
using korvex::testing::EditorProgram;
using korvex::testing::pane;

class LivePreviewTest : public QObject {
    Q_OBJECT
private slots:
    void refreshesWhileTypingAndSwitchesOff() {
        EditorProgram program;
        program.folder.write("Projects/Next.ini", "next {a|b}\r\n");
        EditorWindow* window = program.open("Draft", "{x|y}\r\n");
        QPlainTextEdit* text = pane(window);
        auto* preview = window->findChild<PreviewPane*>(editorControls::preview);
        auto* shown = preview->findChild<QPlainTextEdit*>(editorControls::previewText);
        auto* info = preview->findChild<QLabel*>(editorControls::previewNotes);
        std::uint64_t seed = 0;
        preview->setSeedSource([&seed] { return ++seed; });
        QVERIFY(preview->isHidden());
        const int fullWidth = text->width();

        QTest::keyClick(text, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(preview->isVisible() && text->width() < fullWidth);
        QTRY_VERIFY(shown->toPlainText() == "x" || shown->toPlainText() == "y");
        QCOMPARE(info->text(), QString("2 variants."));
        QCOMPARE(program.bytes("Extra/Preview.ini"), "1\r\n");

        // Typed, not saved: a question and a message, previewed without a box; then a jump.
        text->selectAll();
        QTest::keyClicks(text, "\\inp\\1_Name?_who");
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "\\msg\\ Hi");
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "Dear \\who\\!");
        QVERIFY(preview->isRefreshing());
        QTRY_COMPARE(shown->toPlainText(), QString("Dear !"));
        QCOMPARE(info->text(), QString("1 variant. No box is shown here: 1 question answered "
                                       "empty, 1 message not shown."));
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "\\if\\ 0 = Next");
        QTRY_VERIFY(shown->toPlainText().startsWith("next"));
        QCOMPARE(info->text(), QString("2 variants. Jumped to \"Next\"."));
        QVERIFY(program.dialogs.shown().empty());
        QCOMPARE(program.dialogs.problems(), QString());
        // Nothing on disk changed: the project as saved, no working files.
        QCOMPARE(program.projectBytes("Draft"), "{x|y}\r\n");
        QVERIFY(!std::filesystem::exists(program.folder.path() / "Temp.txt"));
        QVERIFY(std::filesystem::is_empty(program.folder.path() / "Temp"));

        // Five texts, then another five from a new seed.
        text->selectAll();
        QTest::keyClicks(text, "{a|b|c|d}{a|b|c|d}{a|b|c|d}{a|b|c|d}{a|b|c|d}");
        QTRY_VERIFY(!preview->isRefreshing());
        preview->findChild<QToolButton*>(editorControls::fivePreviews)->click();
        QTRY_COMPARE(shown->toPlainText().count(QString::fromUtf8("\u2014\u2014 ")), 5);
        const QString five = shown->toPlainText();
        QTest::keyClick(text, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(shown->toPlainText() != five);
        QCOMPARE(info->text(), QString("20 variants."));

        // The next editor opens with the preview on.
        EditorWindow* next = program.open("Next");
        QVERIFY(next->findChild<PreviewPane*>(editorControls::preview)->isOn());

        window->findChild<QAction*>("PreviewX")->trigger();
        QVERIFY(preview->isHidden());
        QCOMPARE(text->width(), fullWidth);
        QCOMPARE(program.bytes("Extra/Preview.ini"), "0\r\n");
        QTest::keyClicks(text, "more");
        QVERIFY(!preview->isRefreshing());
        QVERIFY(shown->toPlainText().isEmpty());
        QVERIFY(!window->findChild<QAction*>("AnotherPreviewX")->isEnabled());
    }

    void onlyTheNewestTextIsShownAndLongTextsAreCutWhole() {
        EditorProgram program;
        korvex::editor::PreviewRunner runner;
        QSignalSpy generated(&runner, &korvex::editor::PreviewRunner::generated);
        const korvex::editor::PreviewSource source{
            program.folder.path(), "Projects\\Draft", {}, {}};
        // One line of two-byte characters after one byte, well past the limit, after a text
        // that is gone at once: the cut falls inside a character and moves before it.
        runner.generate("old", source, 1, 1);
        runner.generate("a" + QString(30000, QChar(0xE9)), source, 1, 1);
        QTRY_VERIFY(!runner.isBusy());
        QTRY_COMPARE(generated.count(), 1);
        const auto preview = generated[0][0].value<korvex::editor::Preview>();
        QVERIFY(preview.shortened);
        QCOMPARE(preview.text, "a" + QString(korvex::editor::PreviewRunner::kMostCharacters / 2 - 1,
                                             QChar(0xE9)));
    }
};

KORVEX_QTEST(LivePreviewTest)

#include "live_preview_test.moc"
