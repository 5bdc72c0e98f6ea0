#include <QPlainTextEdit>
#include <QTest>
#include <optional>

#include "store/settings.h"
#include "tests/support/qt_test_main.h"
#include "widgets/contrast.h"
#include "widgets/text_look.h"

using namespace korvex::ui;

class TextLookTest : public QObject {
    Q_OBJECT
private slots:
    void textReadsOnItsBackgroundUnlessTheUserChoseIt_data() {
        QTest::addColumn<QColor>("base");                     // the desktop's text background
        QTest::addColumn<std::optional<unsigned>>("chosen");  // text_color_*, as a colour number
        QTest::addColumn<QColor>("shown");                    // invalid: any colour that reads
        const std::optional<unsigned> none;
        QTest::newRow("light, design") << QColor(Qt::white) << none << QColor(0, 0, 64);
        QTest::newRow("dark, design") << QColor(35, 35, 35) << none << QColor();
        QTest::newRow("black, design") << QColor(Qt::black) << none << QColor();
        // The user's own choice stays, readable or not.
        QTest::newRow("dark, chosen")
            << QColor(35, 35, 35) << std::optional<unsigned>(0x400000u) << QColor(0, 0, 64);
    }
    void textReadsOnItsBackgroundUnlessTheUserChoseIt() {
        QFETCH(QColor, base);
        QFETCH(std::optional<unsigned>, chosen);
        QFETCH(QColor, shown);
        QPlainTextEdit box;
        QPalette palette = box.palette();
        palette.setColor(QPalette::Base, base);
        box.setPalette(palette);
        korvex::store::TextLook look;
        look.text = chosen;
        applyTextLook(box, look);
        const QColor text = box.palette().color(QPalette::Text);
        if (shown.isValid()) {
            QCOMPARE(text, shown);
        } else {
            QVERIFY2(contrastRatio(text, base) >= kMinTextContrast, qPrintable(text.name()));
        }
    }

    void readableOnReachesTheContrast_data() {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QColor>("background");
        QTest::newRow("blue link on dark") << QColor(Qt::blue) << QColor(53, 53, 53);
        QTest::newRow("red warning on dark") << QColor(Qt::red) << QColor(53, 53, 53);
        QTest::newRow("grey on mid grey") << QColor(128, 128, 128) << QColor(119, 119, 119);
        QTest::newRow("already fine") << QColor(Qt::black) << QColor(Qt::white);
    }
    void readableOnReachesTheContrast() {
        QFETCH(QColor, colour);
        QFETCH(QColor, background);
        const QColor result = readableOn(colour, background);
        QVERIFY2(contrastRatio(result, background) >= kMinTextContrast, qPrintable(result.name()));
        if (contrastRatio(colour, background) >= kMinTextContrast) {
            QCOMPARE(result, colour);
        }
    }
};

KORVEX_QTEST(TextLookTest)

#include "text_look_test.moc"
