#include "runtime/runtime_window.h"

#include <QDir>
#include <QFont>
#include <QPlainTextEdit>
#include <QTimer>

#include "engine/generate.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "runtime/runtime_controls.h"
#include "store/file_io.h"

namespace korvex::ui {

using platform::toDisplayText;
using platform::toPath;
using platform::toQString;
using platform::toUtf8;
using platform::twips;

namespace {

constexpr int kClientWidthTwips = 7395;
constexpr int kClientHeightTwips = 5385;
constexpr int kTextOffsetTwips = 15;
constexpr int kStartDelayMs = 100;

QString readFailure(const std::filesystem::path& file, const std::error_code& reason) {
    return toQString(store::failureText("read", file, store::reasonText(reason)));
}

}  // namespace

RuntimeWindow::RuntimeWindow(platform::Dialogs& dialogs, QString folder, engine::Random& random,
                             QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      folder_(std::move(folder)),
      random_(random),
      host_(dialogs, kRuntimeTitle, this),
      text_(new QPlainTextEdit(this)),
      startTimer_(new QTimer(this)) {
    setObjectName(runtimeControls::window);
    setWindowTitle(kCaption);

    text_->setObjectName(runtimeControls::text);
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(11.25);
    // Where Courier New is not installed, another fixed-pitch face keeps the columns.
    font.setStyleHint(QFont::TypeWriter);
    text_->setFont(font);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    startTimer_->setObjectName(runtimeControls::startTimer);
    startTimer_->setSingleShot(true);
    startTimer_->setInterval(kStartDelayMs);
    connect(startTimer_, &QTimer::timeout, this, &RuntimeWindow::generate);

    host_.setOnJumped([this](const QString&, const QString& target) {
        setWindowTitle(target);
        text_->clear();
    });

    resize(twips(kClientWidthTwips), twips(kClientHeightTwips));
    layoutText();
}

void RuntimeWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window loads once; showing it again after a minimise starts nothing.
    if (!loaded_) {
        loaded_ = true;
        startTimer_->start();
    }
}

void RuntimeWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutText();
}

void RuntimeWindow::layoutText() {
    text_->setGeometry(twips(kTextOffsetTwips), twips(kTextOffsetTwips), width(), height());
}

void RuntimeWindow::generate() {
    startTimer_->stop();
    layoutText();
    text_->setFocus();
    text_->clear();

    const std::filesystem::path script = toPath(QDir(folder_).absoluteFilePath(kScriptName));
    // Without its script a copy of the runtime is broken, not empty: say so instead of showing
    // an empty window as if the script had produced nothing.
    std::error_code readError;
    if (!store::readFileBytes(script, &readError)) {
        dialogs_.warning(this, kRuntimeTitle, readFailure(script, readError));
        emit generated();
        return;
    }

    engine::Options options;
    options.appFolder = toPath(folder_);
    options.scriptFile = script;
    // The runtime re-reads its own script on every jump and keeps no counts; it writes no
    // working files at all, so none are left behind in the user's folder.
    options.runtime = true;
    const engine::GenerationResult result =
        engine::generate(toUtf8(kScriptName), options, host_, random_);

    text_->setPlainText(toDisplayText(result.text));
    if (!result.warnings.empty()) {
        QStringList warnings;
        for (const engine::Warning& warning : result.warnings) {
            warnings << toQString(warning.text);
        }
        dialogs_.warning(this, kRuntimeTitle, warnings.join(QLatin1Char('\n')));
    }
    emit generated();
    if (result.endRequested) {
        close();
    }
}

}  // namespace korvex::ui
