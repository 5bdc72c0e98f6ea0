#include "editor/import_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <optional>

#include "editor/import_controls.h"
#include "editor/import_text.h"
#include "platform/dialogs.h"
#include "platform/text_conversion.h"
#include "platform/twips.h"
#include "widgets/contrast.h"
#include "widgets/shared_state.h"
#include "widgets/text_box.h"
#include "widgets/toolbar_icons.h"
#include "widgets/toolbar_strip.h"
#include "widgets/window_parts.h"

namespace korvex::editor {

using platform::toQString;
using platform::toUtf8;
using platform::twips;

namespace {

constexpr int kWidthTwips = 9600;
constexpr int kHeightTwips = 7500;
constexpr int kNoteLeftTwips = 1320;
constexpr int kCopyNoteMs = 1500;
constexpr qreal kFontPoints = 11.25;

// Run's picture: lines of text, each with a mark in front.
void drawRun(QPainter& p) {
    ui::drawTextPage(p, QRectF(18, 4, 42, 56));
    p.setPen(Qt::NoPen);
    p.setBrush(ui::kIconAccent);
    for (qreal y : {16.0, 32.0, 48.0}) {
        QPainterPath mark;
        mark.moveTo(2, y - 7);
        mark.lineTo(16, y);
        mark.lineTo(2, y + 7);
        mark.closeSubpath();
        p.drawPath(mark);
    }
}

}  // namespace

/// Grey text is the placeholder. The first click takes it away, and so does the first edit,
/// before it goes in: a paste mixed into the grey sentence would go with it at the next click.
class ImportWindow::TextBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

    void setTextColour(const QColor& colour) {
        QPalette colours = palette();
        // The dark blue text would not read on a dark desktop's background.
        colours.setColor(QPalette::Text,
                         colour == kPlaceholderColour
                             ? colour
                             : ui::readableOn(colour, colours.color(QPalette::Base)));
        setPalette(colours);
    }

    void leavePlaceholder() {
        if (palette().color(QPalette::Text) == kPlaceholderColour) {
            setTextColour(kTextColour);
            clear();
        }
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QPlainTextEdit::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton) {
            leavePlaceholder();
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        const QString typed = event->text();
        const bool edits =
            (!typed.isEmpty() && (typed.front().isPrint() || typed.front() == QLatin1Char('\r') ||
                                  typed.front() == QLatin1Char('\t'))) ||
            event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
        if (edits) {
            leavePlaceholder();
        }
        QPlainTextEdit::keyPressEvent(event);
    }

    // Pastes of every kind and drops come this way; an empty one changes nothing.
    void insertFromMimeData(const QMimeData* source) override {
        if (source != nullptr && !source->text().isEmpty()) {
            leavePlaceholder();
        }
        QPlainTextEdit::insertFromMimeData(source);
    }
};

ImportWindow::ImportWindow(ui::SharedState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      text_(new TextBox(this)),
      toolBar_(new QWidget(this)),
      runButton_(new QToolButton(toolBar_)),
      copyAllButton_(new QToolButton(toolBar_)),
      copiedNote_(new QLabel(kCopiedNote, toolBar_)),
      copyTimer_(ui::oneShotTimer(this, QStringLiteral("TextCopy"), kCopyNoteMs)) {
    setObjectName(importControls::window);
    setWindowTitle(kCaption);

    text_->setObjectName(importControls::text);
    text_->setAccessibleName(QStringLiteral("Text to import"));
    // Pasted lines keep their shape: no wrapping, scrolled both ways instead.
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(kFontPoints);
    text_->setFont(font);
    text_->setPlainText(kPlaceholder);
    text_->setTextColour(kPlaceholderColour);

    copiedNote_->setObjectName(importControls::copiedNote);
    copiedNote_->hide();

    createToolBar();

    connect(copyTimer_, &QTimer::timeout, this, &ImportWindow::endCopy);
    ui::installBoxKeyPreview(*this, *text_);

    resize(twips(kWidthTwips), twips(kHeightTwips));
    state_.windowOpened();
    layoutWindow();
}

void ImportWindow::createToolBar() {
    toolBar_->setObjectName(importControls::toolBar);
    ui::setUpToolbarButton(*runButton_, importControls::run,
                           ui::themedIcon("format-indent-more", drawRun), "Run IT", 0);
    ui::setUpToolbarButton(*copyAllButton_, importControls::copyAll,
                           ui::toolbarIcon(ui::ToolbarIcon::CopyAll), "Copy All",
                           ui::kToolButtonStepTwips);
    connect(runButton_, &QToolButton::clicked, this, &ImportWindow::run);
    connect(copyAllButton_, &QToolButton::clicked, this, &ImportWindow::copyAll);
}

void ImportWindow::layoutWindow() {
    ui::layOutStripOverText(*this, *toolBar_, *text_);
    const int noteLeft = twips(kNoteLeftTwips);
    copiedNote_->setGeometry(noteLeft, 0, std::max(0, width() - noteLeft), toolBar_->height());
}

void ImportWindow::run() {
    text_->setFocus();
    const std::optional<QString> answer =
        state_.dialogs.input(this, kInstructionCaption, kInstructionPrompt);
    if (!answer) {
        return;
    }
    const QString& instruction = answer->isEmpty() ? kDefaultInstruction : *answer;
    // The box's line breaks come and go as CR LF, the form the conversion reads and writes.
    const QString lines = importText(toQString(ui::boxText(*text_)), instruction);
    ui::setBoxText(*text_, toUtf8(lines));
    text_->setTextColour(kTextColour);
}

void ImportWindow::copyAll() {
    const QString all = toQString(ui::boxText(*text_));
    if (QString(all).remove(QLatin1Char(' ')).isEmpty()) {
        text_->setFocus();
        return;
    }
    copiedNote_->show();
    text_->selectAll();
    text_->setFocus();
    QApplication::clipboard()->setText(all);
    copyTimer_->start();
}

void ImportWindow::endCopy() {
    copyTimer_->stop();
    // Copied once more, as the keystroke the note's timer used to send did.
    ui::copyBoxSelection(*text_);
    copiedNote_->hide();
}

void ImportWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Inside the main window the outer size is the sub-window's, frame and title bar included.
    if (!sized_) {
        sized_ = true;
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            frame->resize(twips(kWidthTwips), twips(kHeightTwips));
        }
    }
}

void ImportWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutWindow();
}

void ImportWindow::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        copyTimer_->stop();
        state_.windowClosed();
    }
    event->accept();
}

}  // namespace korvex::editor
