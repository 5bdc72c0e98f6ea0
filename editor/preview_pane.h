#pragma once
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "editor/preview_runner.h"
#include "store/app_folder.h"
#include "store/settings.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QTimer;
class QToolButton;

namespace korvex::editor {

class EditorPanes;

/// The live preview beside the script: a text generated from the shown pane's script about
/// 300 ms after typing stops, on a thread of its own, with the exact variant count and what
/// the preview left out (questions answered empty, messages not shown, jumps taken). "Another"
/// draws a new seed; "Show 5" shows five texts. Switched on and off from the View menu; the
/// choice is kept in Extra/Preview.ini for the next editor.
class PreviewPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 300;
    static constexpr int kManyTexts = 5;
    /// Where the preview generates from (the date and time aside); empty before the script is
    /// loaded.
    using SourceFunction = std::function<std::optional<PreviewSource>()>;
    using SeedSource = std::function<std::uint64_t()>;

    /// The pane `Preview` inside `window`, shown when the kept choice is on. With
    /// `keepChoice` false (an editor out of sight), it stays off and keeps nothing.
    /// The text shows in `look` (the generated-text window's, carrier PreView).
    PreviewPane(EditorPanes& panes, SourceFunction source, const store::AppFolder& app,
                const store::TextLook& look, bool keepChoice, QWidget* window);

    bool isOn() const { return on_; }
    /// The width the pane takes of a window `width` wide; 0 while it is off.
    int wantedWidth(int width) const;
    /// True while a preview waits for the delay or runs.
    bool isRefreshing() const;

    /// View menu: the switch, "another text" and "show five", in that order.
    QList<QAction*> actions() const;
    void setOn(bool on);
    /// A new seed, and a preview with it at once.
    void anotherText();
    void setManyTexts(bool many);
    /// Previews the shown pane's text after the delay (every change of the text starts it
    /// again); nothing while the pane is off.
    void scheduleRefresh();
    /// Previews the shown pane's text now.
    void refresh();
    /// The seeds come from `seeds` instead of the system's random device (tests).
    void setSeedSource(SeedSource seeds);

signals:
    /// The pane was switched on or off.
    void switched(bool on);
    /// A preview is shown.
    void refreshed();

private:
    void showSwitch(bool on);
    void show(const Preview& preview);
    QString notes(const Preview& preview) const;

    EditorPanes& panes_;
    SourceFunction source_;
    const store::AppFolder& app_;
    const bool keepChoice_;
    QAction* switchAction_;  // PreviewX
    QAction* anotherAction_;
    QAction* manyAction_;
    QLabel* info_;
    QPlainTextEdit* text_;
    QTimer* delay_;
    PreviewRunner* runner_;
    SeedSource seeds_;
    std::uint64_t seed_;
    bool on_ = false;
};

}  // namespace korvex::editor
