#include "platform/engine_host.h"

#include "platform/text_conversion.h"

namespace korvex::platform {

EngineHost::EngineHost(Dialogs& dialogs, QString programTitle, QWidget* parent)
    : dialogs_(dialogs), programTitle_(std::move(programTitle)), parent_(parent) {}

void EngineHost::showMessage(std::string_view text) {
    dialogs_.information(parent_, programTitle_, toQString(text));
}

std::optional<std::string> EngineHost::askInput(std::string_view prompt) {
    const std::optional<QString> answer =
        dialogs_.input(parent_, kInputCaption, toQString(prompt), QString());
    if (!answer) {
        return std::nullopt;
    }
    return toUtf8(*answer);
}

std::string EngineHost::dateText() {
    return toUtf8(locale_.toString(clock_().date(), QLocale::ShortFormat));
}

std::string EngineHost::timeText() {
    const QString format = withoutTimeZone(locale_.timeFormat(QLocale::LongFormat));
    return toUtf8(locale_.toString(clock_().time(), format));
}

void EngineHost::jumped(std::string_view newPath, std::string_view target) {
    if (onJumped_) {
        onJumped_(toQString(newPath), toQString(target));
    }
}

QString EngineHost::withoutTimeZone(const QString& format) {
    QString kept;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('t')) {
            // The zone field and the blank that separated it from the rest.
            while (!kept.isEmpty() && kept.back().isSpace()) {
                kept.chop(1);
            }
            while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t')) {
                ++i;
            }
            continue;
        }
        kept.append(c);
    }
    return kept.trimmed();
}

}  // namespace korvex::platform
