#include <QTest>
#include <QWidget>

#include "platform/engine_host.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/qt_test_main.h"
#include "tests/support/scripted_dialogs.h"

using namespace korvex::platform;
using korvex::testing::ScriptedDialogs;

class EngineHostTest : public QObject {
    Q_OBJECT
private slots:
    void messageBoxCarriesTheProgramTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("main program") << "Korvex5";
        QTest::newRow("runtime") << "Korvex";
    }
    void messageBoxCarriesTheProgramTitle() {
        QFETCH(QString, title);
        ScriptedDialogs dialogs;
        dialogs.expectMessage(BoxKind::Information);
        QWidget window;
        EngineHost host(dialogs, title, &window);
        host.showMessage(
            "Gr\xc3\xbc\xc3\x9f"
            "e[.dot2.]\\b\\");
        QCOMPARE(dialogs.problems(), QString());
        const ScriptedDialogs::Shown& box = dialogs.shown().at(0);
        QCOMPARE(box.caption, title);
        QCOMPARE(box.buttons, Buttons::Ok);
        // Shown as the script holds it: markers are not replaced in messages.
        QCOMPARE(box.text, QString::fromUtf8("Grüße[.dot2.]\\b\\"));
        QCOMPARE(box.parent, &window);
    }

    void inputBoxIsCaptionedKorvexAndStartsEmpty_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("main program") << "Korvex5";
        QTest::newRow("runtime") << "Korvex";
    }
    void inputBoxIsCaptionedKorvexAndStartsEmpty() {
        QFETCH(QString, title);
        ScriptedDialogs dialogs;
        dialogs.expectInput(QStringLiteral("Ann"));
        EngineHost host(dialogs, title);
        QCOMPARE(host.askInput("Your name?"), std::optional<std::string>("Ann"));
        const ScriptedDialogs::Shown& box = dialogs.shown().at(0);
        QCOMPARE(box.kind, BoxKind::Input);
        QCOMPARE(box.caption, QString("Korvex"));
        QCOMPARE(box.text, QString("Your name?"));
        QVERIFY(box.defaultText.isEmpty());
    }

    void cancelIsToldFromAnEmptyAnswer() {
        ScriptedDialogs dialogs;
        dialogs.expectInput(QString())
            .expectInput(std::nullopt)
            .expectInput(QString::fromUtf8("Zoë"));
        EngineHost host(dialogs, "Korvex5");
        const std::optional<std::string> empty = host.askInput("a");
        QVERIFY(empty.has_value());
        QVERIFY(empty->empty());
        QVERIFY(!host.askInput("b").has_value());
        QCOMPARE(host.askInput("c"), std::optional<std::string>("Zo\xc3\xab"));
        QCOMPARE(dialogs.problems(), QString());
    }

    void dateAndTimeInTheUsersFormats_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("German") << "de_DE"
                                << "02.01.06"
                                << "15:04:05";
        QTest::newRow("British") << "en_GB"
                                 << "02/01/2006"
                                 << "15:04:05";
        QTest::newRow("American") << "en_US"
                                  << "1/2/06" << QString::fromUtf8("3:04:05\u202fPM");
    }
    void dateAndTimeInTheUsersFormats() {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        QFETCH(QString, time);
        ScriptedDialogs dialogs;
        EngineHost host(dialogs, "Korvex5");
        host.setLocale(QLocale(locale));
        host.setClock([] { return QDateTime(QDate(2006, 1, 2), QTime(15, 4, 5)); });
        QCOMPARE(QString::fromStdString(host.dateText()), date);
        // Some locales separate AM/PM with a narrow space, some with a plain one.
        QCOMPARE(QString::fromStdString(host.timeText()).replace(QChar(0x202f), ' '),
                 time.replace(QChar(0x202f), ' '));
    }

    void timeFormatLosesOnlyTheZone_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("kept");
        QTest::newRow("zone last") << "HH:mm:ss t"
                                   << "HH:mm:ss";
        QTest::newRow("with AM/PM") << "h:mm:ss AP t"
                                    << "h:mm:ss AP";
        QTest::newRow("zone first") << "t HH:mm:ss"
                                    << "HH:mm:ss";
        QTest::newRow("long zone") << "HH:mm:ss tttt"
                                   << "HH:mm:ss";
        QTest::newRow("quoted t stays") << "H 'h' mm 'et' ss t"
                                        << "H 'h' mm 'et' ss";
        QTest::newRow("no zone") << "HH:mm:ss"
                                 << "HH:mm:ss";
    }
    void timeFormatLosesOnlyTheZone() {
        QFETCH(QString, format);
        QFETCH(QString, kept);
        QCOMPARE(EngineHost::withoutTimeZone(format), kept);
    }

    void jumpIsPassedOn() {
        ScriptedDialogs dialogs;
        EngineHost host(dialogs, "Korvex5");
        host.jumped("Projects\\Other", "Other");  // no handler: nothing happens
        QString path;
        QString target;
        host.setOnJumped([&](const QString& p, const QString& t) {
            path = p;
            target = t;
        });
        host.jumped("Projects\\Zw\xc3\xb6lf", "Zw\xc3\xb6lf");
        QCOMPARE(path, QString::fromUtf8("Projects\\Zwölf"));
        QCOMPARE(target, QString::fromUtf8("Zwölf"));
        QVERIFY(dialogs.shown().empty());
    }
};

KORVEX_QTEST(EngineHostTest)

#include "engine_host_test.moc"
