#include "tests/support/scripted_dialogs.h"

#include <QtDebug>

namespace korvex::testing {

using platform::Answer;
using platform::BoxKind;
using platform::Buttons;
using platform::InputBox;
using platform::MessageBox;

namespace {

QString describe(const ScriptedDialogs::Shown& box) {
    return QStringLiteral("%1 box \"%2\": \"%3\"")
        .arg(boxKindName(box.kind), box.caption, box.text);
}

}  // namespace

ScriptedDialogs& ScriptedDialogs::expectMessage(BoxKind kind, Answer answer) {
    prepared_.push_back({kind, answer, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectInput(const std::optional<QString>& answer) {
    prepared_.push_back(
        {BoxKind::Input, answer ? Answer::Ok : Answer::Cancel, answer.value_or(QString())});
    return *this;
}

QString ScriptedDialogs::problems() const {
    QStringList all = problems_;
    for (const Prepared& unused : prepared_) {
        all << QStringLiteral("prepared answer for a %1 box was never taken")
                   .arg(boxKindName(unused.kind));
    }
    return all.join(QLatin1Char('\n'));
}

void ScriptedDialogs::complain(const QString& problem) {
    problems_ << problem;
    qCritical().noquote() << "ScriptedDialogs:" << problem;
}

bool ScriptedDialogs::take(const Shown& box, Prepared& next) {
    shown_.push_back(box);
    if (onShown_) {
        onShown_(box);
    }
    if (prepared_.empty()) {
        complain(QStringLiteral("unexpected %1").arg(describe(box)));
        return false;
    }
    if (prepared_.front().kind != box.kind) {
        complain(QStringLiteral("expected a %1 box, got the %2")
                     .arg(boxKindName(prepared_.front().kind), describe(box)));
        return false;
    }
    next = prepared_.front();
    prepared_.pop_front();
    return true;
}

Answer ScriptedDialogs::showMessage(QWidget* parent, const MessageBox& box) {
    const Shown shown{box.kind, box.buttons, box.caption, box.text, {}, parent, box.defaultAnswer};
    Prepared next;
    if (!take(shown, next)) {
        return escapeAnswer(box.buttons);
    }
    if (!offers(box.buttons, next.answer)) {
        complain(QStringLiteral("the %1 offers no %2 button")
                     .arg(describe(shown), answerName(next.answer)));
        return escapeAnswer(box.buttons);
    }
    return next.answer;
}

std::optional<QString> ScriptedDialogs::showInput(QWidget* parent, const InputBox& box) {
    Prepared next;
    if (!take({BoxKind::Input, Buttons::Ok, box.caption, box.prompt, box.defaultText, parent},
              next) ||
        next.answer == Answer::Cancel) {
        return std::nullopt;
    }
    return next.text;
}

}  // namespace korvex::testing
