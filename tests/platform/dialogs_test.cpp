#include <QAbstractButton>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

#include "platform/qt_dialogs.h"
#include "tests/support/dialogs_printing.h"
#include "tests/support/modal.h"
#include "tests/support/qt_test_main.h"
#include "tests/support/scripted_dialogs.h"

using korvex::testing::whenModal;
using namespace korvex::platform;
using korvex::testing::ScriptedDialogs;

Q_DECLARE_METATYPE(korvex::platform::Answer)
Q_DECLARE_METATYPE(korvex::platform::Buttons)
Q_DECLARE_METATYPE(korvex::platform::BoxKind)

namespace {

/// Shows a message box of `kind` through any Dialogs.
Answer show(Dialogs& dialogs, BoxKind kind, Buttons buttons, const QString& caption,
            const QString& text) {
    switch (kind) {
        case BoxKind::Information:
            dialogs.information(nullptr, caption, text);
            return Answer::Ok;
        case BoxKind::Warning:
            dialogs.warning(nullptr, caption, text);
            return Answer::Ok;
        case BoxKind::Question:
        case BoxKind::Input:
            break;
    }
    return dialogs.question(nullptr, caption, text, buttons);
}

/// An input box's result as text, so that Cancel and an empty answer compare apart.
QString result(const std::optional<QString>& answer) {
    return answer ? QStringLiteral("answer:") + *answer : QStringLiteral("cancel");
}

void ignoreComplaint() {
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^ScriptedDialogs:")));
}

}  // namespace

class ScriptedDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void answersInOrderAndRecordsEveryBox() {
        ScriptedDialogs dialogs;
        dialogs.expectMessage(BoxKind::Question, Answer::No)
            .expectInput(QStringLiteral("Ann"))
            .expectInput(QString())
            .expectInput(std::nullopt)
            .expectMessage(BoxKind::Warning);

        QCOMPARE(dialogs.question(nullptr, "Korvex5", "Save?"), Answer::No);
        QCOMPARE(result(dialogs.input(nullptr, "Korvex", "Name?", "x")), QString("answer:Ann"));
        QCOMPARE(result(dialogs.input(nullptr, "Korvex", "Name?")), QString("answer:"));
        QCOMPARE(result(dialogs.input(nullptr, "Korvex", "Name?")), QString("cancel"));
        dialogs.warning(nullptr, "Korvex5", "Disk full");

        QCOMPARE(dialogs.problems(), QString());
        QCOMPARE(dialogs.pending(), 0u);
        const auto& shown = dialogs.shown();
        QCOMPARE(shown.size(), 5u);
        QCOMPARE(shown[0].kind, BoxKind::Question);
        QCOMPARE(shown[0].buttons, Buttons::YesNoCancel);
        QCOMPARE(shown[0].caption, QString("Korvex5"));
        QCOMPARE(shown[0].text, QString("Save?"));
        QCOMPARE(shown[1].kind, BoxKind::Input);
        QCOMPARE(shown[1].text, QString("Name?"));
        QCOMPARE(shown[1].defaultText, QString("x"));
        QCOMPARE(shown[4].kind, BoxKind::Warning);
        QCOMPARE(shown[4].text, QString("Disk full"));
    }

    // A box nobody prepared for is closed as a user closing it would, and reported.
    void unexpectedBoxIsClosedAndReported_data() {
        QTest::addColumn<BoxKind>("kind");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("information") << BoxKind::Information << Buttons::Ok << Answer::Ok;
        QTest::newRow("warning") << BoxKind::Warning << Buttons::Ok << Answer::Ok;
        QTest::newRow("yes/no/cancel")
            << BoxKind::Question << Buttons::YesNoCancel << Answer::Cancel;
        QTest::newRow("yes/no") << BoxKind::Question << Buttons::YesNo << Answer::No;
    }
    void unexpectedBoxIsClosedAndReported() {
        QFETCH(BoxKind, kind);
        QFETCH(Buttons, buttons);
        QFETCH(Answer, answer);
        ScriptedDialogs dialogs;
        ignoreComplaint();
        QCOMPARE(show(dialogs, kind, buttons, "Korvex5", "Sure?"), answer);
        QVERIFY(dialogs.problems().contains("unexpected"));
        QVERIFY(dialogs.problems().contains("Sure?"));
        QCOMPARE(dialogs.shown().size(), 1u);
    }

    void unexpectedInputIsCancelled() {
        ScriptedDialogs dialogs;
        ignoreComplaint();
        QCOMPARE(result(dialogs.input(nullptr, "Korvex", "Name?")), QString("cancel"));
        QVERIFY(dialogs.problems().contains("input box"));
    }

    void boxOfAnotherKindIsReportedAndKeepsTheAnswer() {
        ScriptedDialogs dialogs;
        dialogs.expectMessage(BoxKind::Question, Answer::Yes);
        ignoreComplaint();
        // The input box must not eat the answer meant for the question, or a test would go on
        // answering every later box wrongly.
        QCOMPARE(result(dialogs.input(nullptr, "Korvex", "Name?")), QString("cancel"));
        QCOMPARE(dialogs.question(nullptr, "Korvex5", "Delete?"), Answer::Yes);
        QVERIFY(dialogs.problems().contains("expected a question box"));
    }

    void answerTheBoxDoesNotOfferIsReported() {
        ScriptedDialogs dialogs;
        dialogs.expectMessage(BoxKind::Question, Answer::Cancel);
        ignoreComplaint();
        QCOMPARE(dialogs.question(nullptr, "Korvex5", "Delete?", Buttons::YesNo), Answer::No);
        QVERIFY(dialogs.problems().contains("no Cancel button"));
    }

    void unusedAnswerIsReported() {
        ScriptedDialogs dialogs;
        dialogs.expectInput(QStringLiteral("Ann"));
        QVERIFY(dialogs.problems().contains("never taken"));
        QCOMPARE(dialogs.pending(), 1u);
    }
};

// The real boxes, driven through QApplication::activeModalWidget().
class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void messageBoxes_data() {
        QTest::addColumn<BoxKind>("kind");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("offered");
        QTest::addColumn<int>("press");  // a standard button, or 0 for Esc
        QTest::addColumn<Answer>("answer");
        const int ok = QMessageBox::Ok;
        const int yesNo = QMessageBox::Yes | QMessageBox::No;
        const int yesNoCancel = yesNo | QMessageBox::Cancel;
        QTest::newRow("information") << BoxKind::Information << Buttons::Ok
                                     << int(QMessageBox::Information) << ok << ok << Answer::Ok;
        QTest::newRow("warning") << BoxKind::Warning << Buttons::Ok << int(QMessageBox::Warning)
                                 << ok << ok << Answer::Ok;
        QTest::newRow("question no")
            << BoxKind::Question << Buttons::YesNoCancel << int(QMessageBox::Question)
            << yesNoCancel << int(QMessageBox::No) << Answer::No;
        QTest::newRow("question yes")
            << BoxKind::Question << Buttons::YesNo << int(QMessageBox::Question) << yesNo
            << int(QMessageBox::Yes) << Answer::Yes;
        QTest::newRow("question esc")
            << BoxKind::Question << Buttons::YesNoCancel << int(QMessageBox::Question)
            << yesNoCancel << 0 << Answer::Cancel;
        QTest::newRow("yes/no esc") << BoxKind::Question << Buttons::YesNo
                                    << int(QMessageBox::Question) << yesNo << 0 << Answer::No;
    }
    void messageBoxes() {
        QFETCH(BoxKind, kind);
        QFETCH(Buttons, buttons);
        QFETCH(int, icon);
        QFETCH(int, offered);
        QFETCH(int, press);
        QFETCH(Answer, answer);

        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        int seenButtons = 0;
        QString seenCaption;
        QString seenText;
        Qt::TextFormat seenFormat = Qt::AutoText;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            seenIcon = box->icon();
            seenButtons = int(box->standardButtons());
            seenCaption = box->windowTitle();
            seenText = box->text();
            seenFormat = box->textFormat();
            if (press == 0) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(QMessageBox::StandardButton(press))->click();
            }
        });
        QtDialogs dialogs;
        QCOMPARE(show(dialogs, kind, buttons, "Korvex", "<b>not bold</b>"), answer);
        QCOMPARE(int(seenIcon), icon);
        QCOMPARE(seenButtons, offered);
        QCOMPARE(seenCaption, QString("Korvex"));
        QCOMPARE(seenText, QString("<b>not bold</b>"));
        QCOMPARE(seenFormat, Qt::PlainText);
    }

    void inputBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("answer");
        QTest::newRow("answer") << "Ann" << true << "answer:Ann";
        QTest::newRow("empty answer") << "" << true << "answer:";
        QTest::newRow("cancel") << "Ann" << false << "cancel";
    }
    void inputBox() {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(QString, answer);

        QString seenCaption;
        QString seenPrompt;
        QString seenDefault;
        whenModal<QInputDialog>([&](QInputDialog* box) {
            seenCaption = box->windowTitle();
            seenPrompt = box->labelText();
            seenDefault = box->textValue();
            box->setTextValue(typed);
            accept ? box->accept() : box->reject();
        });
        QtDialogs dialogs;
        QCOMPARE(result(dialogs.input(nullptr, "Korvex", "Your name?", "Bob")), answer);
        QCOMPARE(seenCaption, QString("Korvex"));
        QCOMPARE(seenPrompt, QString("Your name?"));
        QCOMPARE(seenDefault, QString("Bob"));
    }

    void inputBoxShowsItsWholeTitle() {
        const QString title = "Type a Instruction for Initial Line";
        int width = 0;
        whenModal<QInputDialog>([&](QInputDialog* box) {
            width = box->width();
            box->reject();
        });
        QtDialogs dialogs;
        dialogs.input(nullptr, title, "Instruction:");
        QVERIFY2(width >= QtDialogs::titleWidth(title), qPrintable(QString::number(width)));
    }

    void inputPromptIsPlainText() {
        Qt::TextFormat format = Qt::AutoText;
        whenModal<QInputDialog>([&](QInputDialog* box) {
            for (QLabel* label : box->findChildren<QLabel*>()) {
                if (label->text() == "<i>x</i>") {
                    format = label->textFormat();
                }
            }
            box->reject();
        });
        QtDialogs dialogs;
        dialogs.input(nullptr, "Korvex", "<i>x</i>");
        QCOMPARE(format, Qt::PlainText);
    }
};

KORVEX_QTEST(ScriptedDialogsTest)
KORVEX_QTEST(QtDialogsTest)

#include "dialogs_test.moc"
