#include <QTest>

#include "editor/import_text.h"
#include "tests/support/qt_test_main.h"

using korvex::editor::importText;

class ImportTextTest : public QObject {
    Q_OBJECT
private slots:
    void instructionGoesInFrontOfEveryLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("instruction");
        QTest::addColumn<QString>("lines");
        QTest::newRow("indented") << "one\r\ntwo"
                                  << "    "
                                  << "    one\r\n    two\r\n";
        QTest::newRow("empty text") << ""
                                    << "#"
                                    << "#\r\n";
        QTest::newRow("placeholder") << "Paste text here e click on first button.\r\n"
                                     << "    "
                                     << "    Paste text here e click on first button.\r\n";
        QTest::newRow("one break at the end") << "a\r\n"
                                              << "-"
                                              << "-a\r\n";
        QTest::newRow("two breaks at the end") << "a\r\n\r\n"
                                               << "-"
                                               << "-a\r\n-\r\n";
        QTest::newRow("empty line inside") << "a\r\n\r\nb"
                                           << "-"
                                           << "-a\r\n-\r\n-b\r\n";
        QTest::newRow("lone CR ends a line") << "a\rb"
                                             << "-"
                                             << "-a\r\n-b\r\n";
        QTest::newRow("lone CR at the end") << "a\r"
                                            << "-"
                                            << "-a\r\n-\r\n";
        QTest::newRow("lone LF stays inside") << "a\nb\r\nc"
                                              << "-"
                                              << "-a\nb\r\n-c\r\n";
        QTest::newRow("spaces kept") << "  a  \r\n "
                                     << "\\inc\\ "
                                     << "\\inc\\   a  \r\n\\inc\\  \r\n";
    }
    void instructionGoesInFrontOfEveryLine() {
        QFETCH(QString, text);
        QFETCH(QString, instruction);
        QFETCH(QString, lines);
        QCOMPARE(importText(text, instruction), lines);
    }
};

KORVEX_QTEST(ImportTextTest)
#include "import_text_test.moc"
