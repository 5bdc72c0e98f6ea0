#include "editor/diagnostics_list.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "editor/check_runner.h"
#include "editor/editor_panes.h"
#include "platform/text_conversion.h"
#include "widgets/window_parts.h"

namespace korvex::editor {
namespace {

constexpr int kLineRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;
constexpr int kMostRowsShown = 5;

// The place in `text` of the character `count` characters on from `index`; the checker counts
// characters, a QString UTF-16 units.
int advanceCharacters(const QString& text, int index, std::size_t count) {
    for (std::size_t c = 0; c < count && index < text.size(); ++c) {
        index += text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    }
    return std::min(index, static_cast<int>(text.size()));
}

// The place in `text` of character `column` (from 1).
int indexOfColumn(const QString& text, std::size_t column) {
    return advanceCharacters(text, 0, column > 0 ? column - 1 : 0);
}

// How much a finding at `start` underlines: a brace or bar alone, a "\name\" whole, otherwise
// the word that starts there.
int underlinedLength(const QString& text, int start) {
    if (start >= text.size()) {
        return 0;
    }
    const QChar first = text[start];
    if (first == u'{' || first == u'}' || first == u'|') {
        return 1;
    }
    if (first == u'\\') {
        const auto close = text.indexOf(u'\\', start + 1);
        if (close > start + 1) {
            return static_cast<int>(close) + 1 - start;
        }
    }
    int end = start + 1;
    while (end < text.size() && !text[end].isSpace() &&
           !QStringView(u"{}|\\").contains(text[end])) {
        ++end;
    }
    return end - start;
}

QColor severityColour(engine::Severity severity, bool darkBackground) {
    switch (severity) {
        case engine::Severity::Error:
            return darkBackground ? QColor(0xff6b6b) : QColor(0xd32f2f);
        case engine::Severity::Warning:
            return darkBackground ? QColor(0xffc040) : QColor(0xe69500);
        case engine::Severity::Note:
            break;
    }
    return darkBackground ? QColor(0x6fa8ff) : QColor(0x1e6fd9);
}

QStyle::StandardPixmap severityIcon(engine::Severity severity) {
    switch (severity) {
        case engine::Severity::Error:
            return QStyle::SP_MessageBoxCritical;
        case engine::Severity::Warning:
            return QStyle::SP_MessageBoxWarning;
        case engine::Severity::Note:
            break;
    }
    return QStyle::SP_MessageBoxInformation;
}

}  // namespace

DiagnosticsList::DiagnosticsList(EditorPanes& panes, OptionsFunction options, QWidget* window)
    : QObject(window),
      panes_(panes),
      options_(std::move(options)),
      list_(new QTreeWidget(window)),
      delay_(ui::oneShotTimer(this, QStringLiteral("checkTimer"), kDelayMs)),
      runner_(new CheckRunner({}, this)) {
    list_->setObjectName(QStringLiteral("Diagnostics"));
    list_->setAccessibleName(QStringLiteral("Findings in the script"));
    list_->setHeaderLabels(
        {QStringLiteral("Place"), QStringLiteral("Severity"), QStringLiteral("Message")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setStretchLastSection(true);
    list_->hide();
    connect(list_, &QTreeWidget::itemActivated, this, &DiagnosticsList::goTo);
    connect(delay_, &QTimer::timeout, this, &DiagnosticsList::check);
    connect(runner_, &CheckRunner::checked, this, &DiagnosticsList::showFindings);
}

int DiagnosticsList::wantedHeight(int height) const {
    if (list_->isHidden() || list_->topLevelItemCount() == 0) {
        return 0;
    }
    const int rows = std::min(list_->topLevelItemCount(), kMostRowsShown);
    const int wanted = list_->header()->sizeHint().height() + rows * list_->sizeHintForRow(0) +
                       2 * list_->frameWidth();
    // The script stays the larger part of the window.
    return std::min(wanted, height / 3);
}

bool DiagnosticsList::isChecking() const {
    return delay_->isActive() || runner_->isBusy();
}

void DiagnosticsList::followTyping() {
    connect(&panes_, &EditorPanes::textChanged, this, &DiagnosticsList::scheduleCheck);
}

void DiagnosticsList::scheduleCheck() {
    delay_->start();
}

void DiagnosticsList::check() {
    std::optional<engine::CheckOptions> options = options_();
    if (!options) {
        return;
    }
    // The text as it stands in the pane, saved or not.
    checkedPane_ = panes_.shown();
    runner_->check(checkedPane_->document()->toRawText(), std::move(*options));
}

void DiagnosticsList::showFindings(const std::vector<engine::Diagnostic>& findings) {
    findings_ = findings;
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(findings.size()));
    for (const engine::Diagnostic& finding : findings) {
        // A note on the whole list has no place to show or go to.
        const QString place = finding.line == 0
                                  ? QString()
                                  : QStringLiteral("%1:%2").arg(finding.line).arg(finding.column);
        auto* item =
            new QTreeWidgetItem({place, platform::toQString(engine::severityName(finding.severity)),
                                 platform::toQString(finding.message)});
        item->setIcon(1, list_->style()->standardIcon(severityIcon(finding.severity)));
        // A long message is cut at the list's edge; the whole of it on pointing.
        item->setToolTip(2, item->text(2));
        item->setData(0, kLineRole, static_cast<qulonglong>(finding.line));
        item->setData(0, kColumnRole, static_cast<qulonglong>(finding.column));
        items.append(item);
    }
    list_->addTopLevelItems(items);
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
    underline(checkedPane_);

    const bool wasShown = !list_->isHidden();
    list_->setHidden(findings.empty());
    if (wasShown != !list_->isHidden()) {
        emit shownChanged();
    }
}

void DiagnosticsList::underline(QPlainTextEdit* pane) {
    for (QPlainTextEdit* other : {panes_.unwrapped(), panes_.wrapped()}) {
        if (other != pane) {
            panes_.setMarks(other, EditorPanes::Marks::Findings, {});
        }
    }
    if (pane == nullptr) {
        return;
    }
    const bool dark = pane->palette().color(QPalette::Base).lightnessF() < 0.5;
    QTextDocument* document = pane->document();
    QList<QTextEdit::ExtraSelection> selections;
    // Findings come in the order of their places: a line's text is taken once, and each column
    // is counted on from the one before, so a megabyte line with many findings costs one pass.
    QTextBlock block;
    QString text;
    std::size_t column = 1;
    int index = 0;
    for (const engine::Diagnostic& finding : findings_) {
        if (!block.isValid() || block.blockNumber() != static_cast<int>(finding.line) - 1) {
            block = document->findBlockByNumber(static_cast<int>(finding.line) - 1);
            if (!block.isValid()) {
                continue;
            }
            text = block.text();
            column = 1;
            index = 0;
        }
        const std::size_t wanted = std::max<std::size_t>(finding.column, 1);
        if (wanted < column) {
            column = 1;
            index = 0;
        }
        index = advanceCharacters(text, index, wanted - column);
        column = wanted;
        int start = index;
        // A finding past the end of its line marks the line's last character.
        if (start == text.size() && start > 0) {
            --start;
        }
        QTextEdit::ExtraSelection selection{QTextCursor(document), {}};
        selection.cursor.setPosition(block.position() + start);
        selection.cursor.setPosition(block.position() + start + underlinedLength(text, start),
                                     QTextCursor::KeepAnchor);
        selection.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        selection.format.setUnderlineColor(severityColour(finding.severity, dark));
        selections.append(selection);
    }
    panes_.setMarks(pane, EditorPanes::Marks::Findings, selections);
}

void DiagnosticsList::goTo(QTreeWidgetItem* item) {
    QPlainTextEdit* pane = panes_.shown();
    const QTextBlock block =
        pane->document()->findBlockByNumber(item->data(0, kLineRole).toInt() - 1);
    if (!block.isValid()) {
        return;
    }
    QTextCursor caret(pane->document());
    caret.setPosition(block.position() +
                      indexOfColumn(block.text(), item->data(0, kColumnRole).toULongLong()));
    pane->setTextCursor(caret);
    pane->setFocus(Qt::OtherFocusReason);
}

}  // namespace korvex::editor
