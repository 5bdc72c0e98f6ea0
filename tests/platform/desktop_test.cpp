#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/qt_desktop.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::QtDesktop;

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void documentAddresses() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString help = dir.filePath("Help.html");
        const QString colon = dir.filePath("notes:2.txt");
        for (const QString& name : {help, colon}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(QtDesktop::documentUrl(help), QUrl::fromLocalFile(help));
        QCOMPARE(QtDesktop::documentUrl(colon), QUrl::fromLocalFile(colon));
        QCOMPARE(QtDesktop::documentUrl("https://example.com/a?b=c"),
                 QUrl("https://example.com/a?b=c"));
        QCOMPARE(QtDesktop::documentUrl("mailto:someone@example.com"),
                 QUrl("mailto:someone@example.com"));
        QVERIFY(QtDesktop::documentUrl(dir.filePath("missing.html")).isEmpty());
        QVERIFY(QtDesktop::documentUrl(QUrl::fromLocalFile(dir.filePath("missing.html")).toString())
                    .isEmpty());
        QVERIFY(QtDesktop::documentUrl("").isEmpty());
    }

    void missingThingsReportFailure() {
        QTemporaryDir dir;
        QtDesktop desktop;
        QVERIFY(!desktop.openDocument(dir.filePath("missing.html")));
        QVERIFY(!desktop.openFolder(dir.filePath("missing")));
        QVERIFY(!desktop.openFolder(""));
        QVERIFY(!desktop.startProgram(dir.filePath("no-such-program"), {"a"}));
    }

    void programGetsEachArgumentWhole() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString script = dir.filePath("record args");
        const QString out = dir.filePath("args.txt");
        {
            QFile file(script);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"" +
                       QFile::encodeName(out) + "\"\n");
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        }
        QtDesktop desktop;
        QVERIFY(desktop.startProgram(script, {"/tmp/My Projects/Letter.ini", "two"}));
        QTRY_VERIFY(QFile::exists(out));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("2\n/tmp/My Projects/Letter.ini\ntwo\n"));
    }
};

KORVEX_QTEST(DesktopTest)

#include "desktop_test.moc"
