#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace korvex::platform {

namespace {

// A word longer than the box may be (a long path) is cut off where the box ends, so break
// opportunities go after its separators; they take no room.
QString breakableText(const QString& text) {
    constexpr int kLongWord = 40;
    QString result;
    result.reserve(text.size());
    int wordLength = 0;
    for (const QChar c : text) {
        result.append(c);
        wordLength = c.isSpace() ? 0 : wordLength + 1;
        if (wordLength >= kLongWord && (c == QLatin1Char('/') || c == QLatin1Char('\\'))) {
            result.append(QChar(0x200B));
        }
    }
    return result;
}

QMessageBox::Icon iconFor(BoxKind kind) {
    switch (kind) {
        case BoxKind::Warning:
            return QMessageBox::Warning;
        case BoxKind::Question:
            return QMessageBox::Question;
        case BoxKind::Information:
        case BoxKind::Input:
            break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons buttonsFor(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

Answer QtDialogs::showMessage(QWidget* parent, const MessageBox& box) {
    QMessageBox messageBox(iconFor(box.kind), box.caption, breakableText(box.text),
                           buttonsFor(box.buttons), parent);
    // Script messages are shown as written: "<b>" in a message is text, not markup.
    messageBox.setTextFormat(Qt::PlainText);
    if (box.buttons != Buttons::Ok) {
        messageBox.setDefaultButton(box.defaultAnswer == Answer::No       ? QMessageBox::No
                                    : box.defaultAnswer == Answer::Cancel ? QMessageBox::Cancel
                                                                          : QMessageBox::Yes);
        messageBox.setEscapeButton(box.buttons == Buttons::YesNo ? QMessageBox::No
                                                                 : QMessageBox::Cancel);
    }
    switch (messageBox.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            return escapeAnswer(box.buttons);
    }
}

int QtDialogs::titleWidth(const QString& caption) {
    constexpr int kFrameButtons = 160;  // close, maximise and the window icon, with margins
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    return title.horizontalAdvance(caption) + kFrameButtons;
}

std::optional<QString> QtDialogs::showInput(QWidget* parent, const InputBox& box) {
    QInputDialog dialog(parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(box.caption);
    dialog.setLabelText(box.prompt);
    dialog.setTextValue(box.defaultText);
    // The prompt comes from the script: plain text, like the message boxes.
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }
    // A box sized to its prompt alone cuts a longer title ("Type a Instruction for Initial
    // Line"): wide enough for the title and the frame's buttons beside it.
    // The box's layout sets its minimum from its contents, so the prompt takes the width.
    if (auto* prompt = dialog.findChild<QLabel*>()) {
        prompt->setMinimumWidth(titleWidth(box.caption));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    QString answer = dialog.textValue();
    if (answer.isNull()) {
        answer = QLatin1String("");
    }
    return answer;
}

}  // namespace korvex::platform
