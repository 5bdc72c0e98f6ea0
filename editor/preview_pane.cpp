#include "editor/preview_pane.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <random>

#include "editor/editor_controls.h"
#include "editor/editor_panes.h"
#include "platform/engine_host.h"
#include "platform/text_conversion.h"
#include "store/switch_file.h"
#include "widgets/text_look.h"
#include "widgets/window_parts.h"

namespace korvex::editor {
namespace {

// Up to this many digits the count is written out whole; beyond, it would fill the pane.
constexpr std::size_t kMostDigitsShown = 40;

QString variantsText(const Preview& preview) {
    if (preview.variants == "1") {
        return QStringLiteral("1 variant");
    }
    if (preview.variants.size() <= kMostDigitsShown) {
        return QStringLiteral("%1 variants").arg(platform::toQString(preview.variants));
    }
    return QStringLiteral("About %1 variants (%2 digits)")
        .arg(platform::toQString(preview.variantsAbout),
             QLocale::system().toString(static_cast<qulonglong>(preview.variants.size())));
}

QString counted(int count, const char* one, const char* many) {
    return count == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(count);
}

// A button for `action` with its own short caption: a default action would put the menu's
// longer text on it each time the action changes.
QToolButton* actionButton(QAction* action, const char* name, const QString& caption,
                          const QString& accessibleName, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(action->toolTip());
    button->setAccessibleName(accessibleName);
    button->setCheckable(action->isCheckable());
    button->setFocusPolicy(Qt::TabFocus);
    QObject::connect(button, &QToolButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::toggled, button, &QToolButton::setChecked);
    return button;
}

}  // namespace

PreviewPane::PreviewPane(EditorPanes& panes, SourceFunction source, const store::AppFolder& app,
                         const store::TextLook& look, bool keepChoice, QWidget* window)
    : QWidget(window),
      panes_(panes),
      source_(std::move(source)),
      app_(app),
      keepChoice_(keepChoice),
      switchAction_(ui::namedAction(this, QStringLiteral("PreviewX"),
                                    QStringLiteral("Live &Preview"),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P))),
      anotherAction_(ui::namedAction(this, QStringLiteral("AnotherPreviewX"),
                                     QStringLiteral("&Another Preview Text"),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N))),
      manyAction_(ui::namedAction(this, QStringLiteral("FivePreviewsX"),
                                  QStringLiteral("Preview &5 Texts"),
                                  QKeySequence(Qt::CTRL | Qt::Key_5))),
      info_(ui::namedLabel(editorControls::previewNotes, QString(), this)),
      text_(new QPlainTextEdit(this)),
      delay_(ui::oneShotTimer(this, QStringLiteral("previewTimer"), kDelayMs)),
      runner_(new PreviewRunner(this)),
      seeds_([] { return std::uint64_t{std::random_device()()} << 32 | std::random_device()(); }),
      seed_(seeds_()) {
    setObjectName(editorControls::preview);
    setAccessibleName(QStringLiteral("Live preview"));
    switchAction_->setCheckable(true);
    manyAction_->setCheckable(true);
    anotherAction_->setToolTip(QStringLiteral("Another text, from a new seed (Ctrl+Shift+N)"));
    manyAction_->setToolTip(QStringLiteral("Show five texts (Ctrl+5)"));

    auto* title = ui::namedLabel(QStringLiteral("PreviewTitle"), QStringLiteral("Preview"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setAccessibleName(QStringLiteral("Preview"));
    auto* another =
        actionButton(anotherAction_, editorControls::anotherPreview, QStringLiteral("Another"),
                     QStringLiteral("Another preview text"), this);
    auto* many = actionButton(manyAction_, editorControls::fivePreviews, QStringLiteral("Show 5"),
                              QStringLiteral("Show five preview texts"), this);
    info_->setWordWrap(true);
    info_->setAccessibleName(QStringLiteral("About the preview"));
    text_->setObjectName(editorControls::previewText);
    text_->setAccessibleName(QStringLiteral("Preview of a generated text"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    ui::applyTextLook(*text_, look);

    auto* header = new QHBoxLayout;
    header->addWidget(title);
    header->addStretch();
    header->addWidget(another);
    header->addWidget(many);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(header);
    layout->addWidget(info_);
    layout->addWidget(text_, 1);

    connect(switchAction_, &QAction::triggered, this, &PreviewPane::setOn);
    connect(anotherAction_, &QAction::triggered, this, &PreviewPane::anotherText);
    connect(manyAction_, &QAction::triggered, this, &PreviewPane::setManyTexts);
    connect(&panes_, &EditorPanes::textChanged, this, &PreviewPane::scheduleRefresh);
    connect(delay_, &QTimer::timeout, this, &PreviewPane::refresh);
    connect(runner_, &PreviewRunner::generated, this, &PreviewPane::show);

    // No preview yet: the window is still being built, and the load that fills the panes
    // asks for one.
    showSwitch(keepChoice_ && store::readSwitch(app_.previewFile(), false));
}

QList<QAction*> PreviewPane::actions() const {
    return {switchAction_, anotherAction_, manyAction_};
}

int PreviewPane::wantedWidth(int width) const {
    // The script keeps the larger part of the window.
    return on_ ? width * 2 / 5 : 0;
}

bool PreviewPane::isRefreshing() const {
    return delay_->isActive() || runner_->isBusy();
}

void PreviewPane::showSwitch(bool on) {
    on_ = on;
    switchAction_->setChecked(on_);
    anotherAction_->setEnabled(on_);
    manyAction_->setEnabled(on_);
    setVisible(on_);
}

void PreviewPane::setOn(bool on) {
    const bool changed = (on && keepChoice_) != on_;
    showSwitch(on && keepChoice_);
    if (on_) {
        refresh();
    } else {
        delay_->stop();
        // What it showed describes a script that may change unseen.
        text_->clear();
        info_->clear();
    }
    // Like the highlighting, a choice that cannot be written is simply not kept.
    if (keepChoice_ && changed) {
        store::writeSwitch(app_.previewFile(), on_);
    }
    if (changed) {
        emit switched(on_);
    }
}

void PreviewPane::anotherText() {
    seed_ = seeds_();
    refresh();
}

void PreviewPane::setManyTexts(bool many) {
    manyAction_->setChecked(many);
    refresh();
}

void PreviewPane::setSeedSource(SeedSource seeds) {
    seeds_ = std::move(seeds);
    seed_ = seeds_();
}

void PreviewPane::scheduleRefresh() {
    if (on_) {
        delay_->start();
    }
}

void PreviewPane::refresh() {
    delay_->stop();
    std::optional<PreviewSource> source = on_ ? source_() : std::nullopt;
    if (!source) {
        return;
    }
    // The date and time of now, in the user's formats, as a generation gives them.
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    source->dateText = platform::toUtf8(locale.toString(now.date(), QLocale::ShortFormat));
    source->timeText = platform::toUtf8(locale.toString(
        now.time(), platform::EngineHost::withoutTimeZone(locale.timeFormat(QLocale::LongFormat))));
    // The text as it stands in the pane, saved or not; the same seed while the user types, so
    // only what the user changed changes.
    runner_->generate(panes_.shown()->document()->toRawText(), std::move(*source), seed_,
                      manyAction_->isChecked() ? kManyTexts : 1);
}

void PreviewPane::show(const Preview& preview) {
    // A preview asked for before the pane was switched off.
    if (!on_) {
        return;
    }
    info_->setText(notes(preview));
    text_->setPlainText(preview.text);
    emit refreshed();
}

QString PreviewPane::notes(const Preview& preview) const {
    QStringList notes{variantsText(preview) + QLatin1Char('.')};
    if (preview.questions > 0 || preview.messages > 0) {
        QStringList skipped;
        if (preview.questions > 0) {
            skipped << counted(preview.questions, "1 question answered empty",
                               "%1 questions answered empty");
        }
        if (preview.messages > 0) {
            skipped << counted(preview.messages, "1 message not shown", "%1 messages not shown");
        }
        notes
            << QStringLiteral("No box is shown here: %1.").arg(skipped.join(QStringLiteral(", ")));
    }
    if (!preview.jumpedTo.isEmpty()) {
        notes << QStringLiteral("Jumped to \"%1\".").arg(preview.jumpedTo);
    }
    notes << preview.warnings;
    if (preview.shortened) {
        notes << QStringLiteral("Only the first %1 characters of a text are shown.")
                     .arg(QLocale::system().toString(PreviewRunner::kMostCharacters));
    }
    return notes.join(QLatin1Char(' '));
}

}  // namespace korvex::editor
