#include "platform/qt_dialogs.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace korvex::platform {

namespace {

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
    QMessageBox messageBox(iconFor(box.kind), box.caption, box.text, buttonsFor(box.buttons),
                           parent);
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
