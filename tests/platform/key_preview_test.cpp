#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QVBoxLayout>

#include "platform/key_preview.h"
#include "tests/support/qt_test_main.h"

using korvex::platform::installKeyPreview;

namespace {

/// A window with one line edit that has the focus.
struct Window {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);

    Window() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
    }
    bool show() {
        window.show();
        if (!QTest::qWaitForWindowActive(&window)) {
            return false;
        }
        edit->setFocus();
        return true;
    }
};

}  // namespace

class KeyPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void escClosesTheWindowFromAnyControl() {
        Window w;
        installKeyPreview(&w.window);
        QVERIFY(w.show());
        QTest::keyClick(w.edit, Qt::Key_A);
        QCOMPARE(w.edit->text(), QString("a"));  // other keys reach the control
        QVERIFY(w.window.isVisible());
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QVERIFY(!w.window.isVisible());
    }

    void theWindowSeesKeysBeforeItsControls() {
        Window w;
        QList<int> seen;
        installKeyPreview(&w.window, [&](QKeyEvent& key) {
            seen << key.key();
            return key.key() == Qt::Key_B || key.key() == Qt::Key_Escape;
        });
        QVERIFY(w.show());
        QTest::keyClick(w.edit, Qt::Key_A);
        QTest::keyClick(w.edit, Qt::Key_B);
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QCOMPARE(w.edit->text(), QString("a"));  // B was taken by the window
        QVERIFY(w.window.isVisible());           // so was Esc
        QCOMPARE(seen, (QList<int>{Qt::Key_A, Qt::Key_B, Qt::Key_Escape}));
    }

    void keysOfAnotherWindowAreNotSeen() {
        Window mine;
        Window other;
        int seen = 0;
        installKeyPreview(&mine.window, [&](QKeyEvent&) {
            ++seen;
            return false;
        });
        QVERIFY(mine.show());
        QVERIFY(other.show());
        QTest::keyClick(other.edit, Qt::Key_Escape);
        QCOMPARE(seen, 0);
        QVERIFY(mine.window.isVisible());
    }

    void escClosesTheMdiChildNotTheFrame() {
        QMdiArea area;
        auto* content = new QWidget;
        auto* edit = new QLineEdit(content);
        auto* layout = new QVBoxLayout(content);
        layout->addWidget(edit);
        installKeyPreview(content);
        QMdiSubWindow* sub = area.addSubWindow(content);
        area.show();
        QVERIFY(QTest::qWaitForWindowActive(&area));
        sub->show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!sub->isVisible());
        QVERIFY(area.isVisible());
    }

    void previewEndsWithTheWindow() {
        Window other;
        QVERIFY(other.show());
        {
            QWidget gone;
            installKeyPreview(&gone, [](QKeyEvent&) { return true; });
        }
        QTest::keyClick(other.edit, Qt::Key_A);  // must not reach a dead filter
        QCOMPARE(other.edit->text(), QString("a"));
    }
};

KORVEX_QTEST(KeyPreviewTest)

#include "key_preview_test.moc"
