#pragma once
#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "engine/checker.h"

class QPlainTextEdit;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace korvex::editor {

class CheckRunner;
class EditorPanes;

/// The checker's findings on the script as the shown pane holds it, in a list under the panes
/// (hidden while there are none) and as wavy underlines in the pane: errors red, warnings
/// amber, notes blue. The check runs about 300 ms after typing stops, on a thread of its own.
/// Activating an entry (double click, Enter) puts the caret at its place in the shown pane.
class DiagnosticsList : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 300;
    /// Where the check looks for included files and jump targets; empty: no check yet.
    using OptionsFunction = std::function<std::optional<engine::CheckOptions>()>;

    /// The list `Diagnostics` inside `window`, hidden.
    DiagnosticsList(EditorPanes& panes, OptionsFunction options, QWidget* window);

    QTreeWidget* widget() const { return list_; }
    /// The height the list asks for in a window of `height`; 0 while it is hidden.
    int wantedHeight(int height) const;
    const std::vector<engine::Diagnostic>& findings() const { return findings_; }
    /// True while a check waits for the delay or runs.
    bool isChecking() const;

    /// Every change of either pane's text starts the delay again.
    void followTyping();
    /// Checks the shown pane's text after the delay.
    void scheduleCheck();

signals:
    /// The list was shown or hidden.
    void shownChanged();

private:
    void check();
    void showFindings(const std::vector<engine::Diagnostic>& findings);
    void underline(QPlainTextEdit* pane);
    void goTo(QTreeWidgetItem* item);

    EditorPanes& panes_;
    OptionsFunction options_;
    QTreeWidget* list_;
    QTimer* delay_;
    CheckRunner* runner_;
    std::vector<engine::Diagnostic> findings_;
    QPlainTextEdit* checkedPane_ = nullptr;  // the pane whose text the findings describe
};

}  // namespace korvex::editor
