#include <QPlainTextEdit>
#include <QTest>
#include <string>

#include "tests/support/qt_test_main.h"
#include "widgets/text_box.h"

Q_DECLARE_METATYPE(std::string)

namespace {

std::string lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i > 0 ? "\r\n" : "") + line + std::to_string(i);
    }
    return text;
}

}  // namespace

class TextBoxTest : public QObject {
    Q_OBJECT
private slots:
    void textComesBackAsItWent_data() {
        QTest::addColumn<std::string>("text");
        QTest::addColumn<std::string>("back");  // line breaks as CR LF
        QTest::addColumn<int>("maxParagraphs");
        QTest::newRow("empty") << std::string() << std::string() << 1;
        QTest::newRow("lone CR and LF")
            << std::string("a\rb\nc\r\nd") << std::string("a\r\nb\r\nc\r\nd") << 1;
        QTest::newRow("trailing break") << std::string("end\r\n") << std::string("end\r\n") << 1;
        QTest::newRow("empty lines")
            << std::string("\r\n\r\n\r\n") << std::string("\r\n\r\n\r\n") << 1;
        // No-break spaces, which QPlainTextEdit::toPlainText would turn into spaces.
        QTest::newRow("no-break space") << std::string(
                                               "a\xC2\xA0"
                                               "b")
                                        << std::string(
                                               "a\xC2\xA0"
                                               "b")
                                        << 1;
        QTest::newRow("1,000 short lines")
            << lines(1000, "x") << lines(1000, "x") << 1000 / korvex::ui::kLinesPerParagraph + 1;
        // Long lines end paragraphs by their size before their number does.
        const std::string longLine(1000, 'y');
        QTest::newRow("100 long lines") << lines(100, longLine) << lines(100, longLine)
                                        << 100 * 1000 / korvex::ui::kCharactersPerParagraph + 2;
    }
    void textComesBackAsItWent() {
        QFETCH(std::string, text);
        QFETCH(std::string, back);
        QFETCH(int, maxParagraphs);
        QPlainTextEdit box;
        korvex::ui::setBoxText(box, text);
        QCOMPARE(korvex::ui::boxText(box), back);
        QVERIFY2(box.blockCount() <= maxParagraphs, qPrintable(QString::number(box.blockCount())));
        // What the user sees: one line per line of the text.
        QCOMPARE(box.toPlainText().count(QLatin1Char('\n')),
                 qsizetype(std::count(back.begin(), back.end(), '\n')));
    }

    void selectionComesBackWithCrLf() {
        QPlainTextEdit box;
        korvex::ui::setBoxText(box, lines(200, "line"));
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(0);
        cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 70);  // across paragraphs
        cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
        box.setTextCursor(cursor);
        QCOMPARE(korvex::ui::selectedBoxText(box), lines(71, "line"));
        cursor.clearSelection();
        box.setTextCursor(cursor);
        QCOMPARE(korvex::ui::selectedBoxText(box), std::string());
    }
};

KORVEX_QTEST(TextBoxTest)
#include "text_box_test.moc"
