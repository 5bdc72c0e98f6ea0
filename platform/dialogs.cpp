#include "platform/dialogs.h"

namespace korvex::platform {

Answer escapeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::Ok:
            break;
    }
    return Answer::Ok;
}

bool offers(Buttons buttons, Answer answer) {
    switch (buttons) {
        case Buttons::Ok:
            return answer == Answer::Ok;
        case Buttons::YesNo:
            return answer == Answer::Yes || answer == Answer::No;
        case Buttons::YesNoCancel:
            return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
    }
    return false;
}

QString boxKindName(BoxKind kind) {
    switch (kind) {
        case BoxKind::Information:
            return QStringLiteral("information");
        case BoxKind::Warning:
            return QStringLiteral("warning");
        case BoxKind::Question:
            return QStringLiteral("question");
        case BoxKind::Input:
            return QStringLiteral("input");
    }
    return {};
}

QString answerName(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return QStringLiteral("OK");
        case Answer::Yes:
            return QStringLiteral("Yes");
        case Answer::No:
            return QStringLiteral("No");
        case Answer::Cancel:
            return QStringLiteral("Cancel");
    }
    return {};
}

void Dialogs::information(QWidget* parent, const QString& caption, const QString& text) {
    showMessage(parent, {BoxKind::Information, Buttons::Ok, caption, text});
}

void Dialogs::warning(QWidget* parent, const QString& caption, const QString& text) {
    showMessage(parent, {BoxKind::Warning, Buttons::Ok, caption, text});
}

Answer Dialogs::question(QWidget* parent, const QString& caption, const QString& text,
                         Buttons buttons, Answer defaultAnswer) {
    const Answer answer =
        showMessage(parent, {BoxKind::Question, buttons, caption, text, defaultAnswer});
    // An implementation that returns a button the box does not offer would send the caller
    // down a path the user never chose; treat it as closing the box.
    return offers(buttons, answer) ? answer : escapeAnswer(buttons);
}

std::optional<QString> Dialogs::input(QWidget* parent, const QString& caption,
                                      const QString& prompt, const QString& defaultText) {
    return showInput(parent, {caption, prompt, defaultText});
}

}  // namespace korvex::platform
