#pragma once
#include <QString>
#include <QWidget>

#include "engine/random.h"
#include "platform/dialogs.h"
#include "platform/engine_host.h"

class QPlainTextEdit;
class QTimer;

namespace korvex::ui {

/// The standalone runtime's only window: once shown, it generates text from the script `qz`
/// in its folder and shows it. A script with `\end\` closes the window (and so the program)
/// after the text is delivered. A script that cannot be read (missing, a folder, a pipe) is
/// named in a warning, and the window stays empty.
class RuntimeWindow : public QWidget {
    Q_OBJECT
public:
    /// The runtime program's title (not the main program's): the caption of its `\msg\` boxes and
    /// of its warnings.
    static inline const QString kRuntimeTitle = QStringLiteral("Korvex");
    static inline const QString kCaption = QStringLiteral("Korvex Compiler");
    static inline const QString kScriptName = QStringLiteral("qz");

    /// `folder` holds the script `qz`; relative `\inc\` paths resolve against it too.
    RuntimeWindow(platform::Dialogs& dialogs, QString folder, engine::Random& random,
                  QWidget* parent = nullptr);

signals:
    /// The text is in the window (and any warning has been shown).
    void generated();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void generate();
    /// The text at 15, 15 twips with the client area's size.
    void layoutText();

    platform::Dialogs& dialogs_;
    QString folder_;
    engine::Random& random_;
    platform::EngineHost host_;
    QPlainTextEdit* text_;
    QTimer* startTimer_;
    bool loaded_ = false;
};

}  // namespace korvex::ui
