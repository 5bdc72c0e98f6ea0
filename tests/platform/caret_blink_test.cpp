#include <QGuiApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QStyleHints>
#include <QTest>

#include "platform/caret_blink.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::CaretBlinkTimeout;
using namespace std::chrono_literals;

namespace {

/// How many dark pixels the caret's place in `pane` shows.
int darkPixelsAtCaret(QPlainTextEdit& pane) {
    const QImage picture = pane.viewport()->grab().toImage();
    const QRect caret = pane.cursorRect().intersected(picture.rect());
    int dark = 0;
    for (int y = caret.top(); y <= caret.bottom(); ++y) {
        for (int x = caret.left(); x <= caret.right(); ++x) {
            dark += qGray(picture.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    return dark;
}

}  // namespace

class CaretBlinkTest : public QObject {
    Q_OBJECT
private slots:
    void caretsStopWhenIdleShownAndStartAtTheNextKeyOrClick() {
        QStyleHints* hints = QGuiApplication::styleHints();
        hints->setCursorFlashTime(1000);
        QPlainTextEdit pane;  // empty: only the caret can be dark on its white
        pane.show();
        QVERIFY(QTest::qWaitForWindowActive(&pane));
        pane.setFocus();
        {
            CaretBlinkTimeout timeout(50ms);
            QTRY_VERIFY(timeout.stopped());
            QCOMPARE(hints->cursorFlashTime(), 0);
            QVERIFY(darkPixelsAtCaret(pane) > 0);

            QTest::keyClick(&pane, Qt::Key_End);
            QVERIFY(!timeout.stopped());
            QCOMPARE(hints->cursorFlashTime(), 1000);
            QTRY_VERIFY(timeout.stopped());
            QTest::mouseClick(pane.viewport(), Qt::LeftButton);
            QCOMPARE(hints->cursorFlashTime(), 1000);
            QTRY_VERIFY(timeout.stopped());
        }
        // Gone while the carets were stopped: they blink again.
        QCOMPARE(hints->cursorFlashTime(), 1000);

        // A desktop whose carets never blink is left as it is.
        hints->setCursorFlashTime(0);
        {
            CaretBlinkTimeout timeout(1ms);
            QTest::qWait(20);
            QTest::keyClick(&pane, Qt::Key_Home);
            QCOMPARE(hints->cursorFlashTime(), 0);
        }
        QCOMPARE(hints->cursorFlashTime(), 0);
        hints->setCursorFlashTime(1000);
    }
};

KORVEX_QTEST(CaretBlinkTest)

#include "caret_blink_test.moc"
