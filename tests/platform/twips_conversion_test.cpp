#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "tests/support/qt_test_main.h"

using namespace korvex::platform;

class TwipsConversionTest : public QObject {
    Q_OBJECT
private slots:
    void twipsToPixels_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("one pixel at 96") << 15 << 96.0 << 1;
        QTest::newRow("runtime width") << 7395 << 96.0 << 493;
        QTest::newRow("runtime height") << 5385 << 96.0 << 359;
        QTest::newRow("an inch") << 1440 << 120.0 << 120;
        QTest::newRow("double density") << 15 << 192.0 << 2;
        QTest::newRow("rounds to nearest") << 200 << 96.0 << 13;  // 13.33
        QTest::newRow("half rounds up") << 2580 << 96.0 << 172;   // 172.0
        QTest::newRow("zero") << 0 << 96.0 << 0;
    }
    void twipsToPixels() {
        QFETCH(int, twips);
        QFETCH(double, dpi);
        QFETCH(int, pixels);
        QCOMPARE(korvex::platform::twips(twips, dpi), pixels);
    }

    void twipsFollowTheScreen() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        QVERIFY(screen != nullptr);
        QCOMPARE(twips(1440), qRound(screen->logicalDotsPerInchX()));
    }

    void textBetweenEngineAndTextBox_data() {
        QTest::addColumn<QByteArray>("engine");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("back");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "a\nb\n" << QByteArray("a\r\nb\r\n");
        QTest::newRow("lone CR") << QByteArray("a\rb") << "a\nb" << QByteArray("a\r\nb");
        QTest::newRow("lone LF") << QByteArray("a\nb") << "a\nb" << QByteArray("a\r\nb");
        QTest::newRow("non-ASCII") << QByteArray(
                                          "Gr\xc3\xbc\xc3\x9f"
                                          "e \xe2\x82\xac")
                                   << QString::fromUtf8("Grüße €")
                                   << QByteArray(
                                          "Gr\xc3\xbc\xc3\x9f"
                                          "e \xe2\x82\xac");
        QTest::newRow("empty") << QByteArray() << "" << QByteArray();
    }
    void textBetweenEngineAndTextBox() {
        QFETCH(QByteArray, engine);
        QFETCH(QString, shown);
        QFETCH(QByteArray, back);
        const std::string utf8(engine.constData(), engine.size());
        QCOMPARE(toDisplayText(utf8), shown);
        QCOMPARE(QByteArray::fromStdString(fromDisplayText(shown)), back);
        QCOMPARE(toQString(utf8), QString::fromUtf8(engine));
        QCOMPARE(toUtf8(QString::fromUtf8(engine)), utf8);
    }

    void paragraphSeparatorIsALineBreak() {
        QCOMPARE(fromDisplayText(QString("a") + QChar::ParagraphSeparator + "b"),
                 std::string("a\r\nb"));
    }

    void pathsRoundTrip() {
        const QString path = QString::fromUtf8("/tmp/Zwölf Projekte/qz");
        const std::filesystem::path native = toPath(path);
        QCOMPARE(native.filename().string(), std::string("qz"));
        QCOMPARE(fromPath(native), path);
        QCOMPARE(fromPath(native.parent_path()), QString::fromUtf8("/tmp/Zwölf Projekte"));
    }
};

KORVEX_QTEST(TwipsConversionTest)

#include "twips_conversion_test.moc"
