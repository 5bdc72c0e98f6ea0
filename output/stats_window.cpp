#include "output/stats_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include "output/stats_controls.h"
#include "output/text_figures.h"
#include "platform/key_preview.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "widgets/shared_state.h"
#include "widgets/text_look.h"
#include "widgets/window_parts.h"

namespace korvex::ui {

using platform::twips;

namespace {

constexpr int kWidthTwips = 4300;
constexpr int kHeightTwips = 3600;
constexpr int kTextOffsetTwips = 15;
constexpr int kShowDelayMs = 100;

}  // namespace

StatsWindow::StatsWindow(SharedState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      text_(new QPlainTextEdit(this)),
      wordsLabel_(hiddenField(this, statsControls::words)),
      charactersLabel_(hiddenField(this, statsControls::characters)),
      itemsLabel_(hiddenField(this, statsControls::items)),
      variantsLabel_(hiddenField(this, statsControls::variants)),
      showTimer_(oneShotTimer(this, statsControls::showTimer, kShowDelayMs)) {
    setObjectName(statsControls::window);
    setWindowTitle(kCaption);

    text_->setObjectName(statsControls::text);
    text_->setAccessibleName(QStringLiteral("Statistics"));
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    applyTextLook(*text_, state_.settings.preview);

    connect(showTimer_, &QTimer::timeout, this, &StatsWindow::showFigures);

    platform::installKeyPreview(this);

    resize(twips(kWidthTwips), twips(kHeightTwips));
    state_.windowOpened();
    showTimer_->start();
    layoutText();
}

void StatsWindow::setFigures(const QString& characters, const QString& words, const QString& items,
                             const QString& variants) {
    charactersLabel_->setText(characters);
    wordsLabel_->setText(words);
    itemsLabel_->setText(items);
    variantsLabel_->setText(variants);
}

void StatsWindow::showFigures() {
    showTimer_->stop();
    const std::string lines = statisticsText(
        platform::toUtf8(charactersLabel_->text()), platform::toUtf8(wordsLabel_->text()),
        platform::toUtf8(itemsLabel_->text()), platform::toUtf8(variantsLabel_->text()));
    text_->moveCursor(QTextCursor::End);
    text_->insertPlainText(platform::toDisplayText(lines));
    emit figuresShown();
}

void StatsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Inside the main window the outer size is the sub-window's, frame and title bar included.
    if (!sized_) {
        sized_ = true;
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            frame->resize(twips(kWidthTwips), twips(kHeightTwips));
        }
    }
}

void StatsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutText();
}

void StatsWindow::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        showTimer_->stop();
        state_.windowClosed();
    }
    event->accept();
}

void StatsWindow::layoutText() {
    text_->setGeometry(twips(kTextOffsetTwips), twips(kTextOffsetTwips), width(), height());
}

}  // namespace korvex::ui
