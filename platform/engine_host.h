#pragma once
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

#include "engine/generate.h"
#include "platform/dialogs.h"

class QWidget;

namespace korvex::platform {

/// The caption of every `\inp\` box, in the main program and in the runtime alike.
inline const QString kInputCaption = QStringLiteral("Korvex");

/// Connects the engine to the user: `\msg\` and `\inp\` boxes through Dialogs, `\date\` and
/// `\time\` in the user's formats, jumps to whoever shows the caption.
class EngineHost : public engine::Host {
public:
    using Clock = std::function<QDateTime()>;
    using JumpHandler = std::function<void(const QString& newPath, const QString& target)>;

    /// Message boxes are captioned `programTitle` ("Korvex5" in the main program, "Korvex" in
    /// the runtime) and belong to `parent`.
    EngineHost(Dialogs& dialogs, QString programTitle, QWidget* parent = nullptr);

    void setLocale(const QLocale& locale) { locale_ = locale; }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    void setOnJumped(JumpHandler onJumped) { onJumped_ = std::move(onJumped); }

    void showMessage(std::string_view text) override;
    std::optional<std::string> askInput(std::string_view prompt) override;
    std::string dateText() override;
    std::string timeText() override;
    void jumped(std::string_view newPath, std::string_view target) override;

    /// `format` without its time-zone fields: the user's long time format names the zone, but
    /// `\time\` is hours, minutes and seconds.
    static QString withoutTimeZone(const QString& format);

private:
    Dialogs& dialogs_;
    QString programTitle_;
    QWidget* parent_;
    QLocale locale_ = QLocale::system();
    Clock clock_ = [] { return QDateTime::currentDateTime(); };
    JumpHandler onJumped_;
};

}  // namespace korvex::platform
