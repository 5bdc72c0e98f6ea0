#pragma once
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTextEdit>
#include <array>
#include <functional>
#include <string>

#include "store/settings.h"

class QPlainTextEdit;
class QRect;
class QWidget;

namespace korvex::editor {

/// The editor's two text panes over one place, one of them shown: the unwrapped pane, whose lines
/// never wrap and whose text every save writes, and the wrapped pane, which wraps lines at its
/// width. Holds the window's modified flag: set by every change of the shown pane's text,
/// cleared by loads and saves, and cleared again when undo takes the text back to what was saved.
class EditorPanes : public QObject {
    Q_OBJECT
public:
    /// Creates both panes inside `window`, the unwrapped one shown.
    explicit EditorPanes(QWidget* window);

    QPlainTextEdit* unwrapped() const { return unwrapped_; }
    QPlainTextEdit* wrapped() const { return wrapped_; }
    QPlainTextEdit* shown() const;
    bool isWrapped() const { return wrappedShown_; }

    bool modified() const;
    void setModified(bool modified);

    /// Colours, font name and size of `look` for both panes.
    void applyLook(const store::TextLook& look);
    void setGeometry(const QRect& place);

    /// Fills the unwrapped pane with `text` (lines separated by LF), and the wrapped one as well
    /// when `wrapped`, shows the pane `wrapped` selects, and clears the modified flag.
    void load(const QString& text, bool wrapped);
    /// Shows the other pane, which takes the text of the one shown until now.
    void toggleWrap();
    /// Gives the unwrapped pane the text of the wrapped one when that is shown, and the shown pane
    /// the focus: the step before every save or hand-over, since saves write the unwrapped pane.
    void prepareHandOver();
    /// The text of the unwrapped pane as UTF-8 with CR LF line breaks, every character kept.
    std::string unwrappedText() const;
    /// Every tab of the shown pane (and so of the unwrapped pane) becomes four spaces, as one undo
    /// step.
    void expandTabs();
    /// The unwrapped pane's font `points` larger or smaller; a size below one point is refused.
    void changeFontSize(int points);
    /// Runs `restyle`, which changes how the panes look but not their text (colouring fires
    /// the panes' change signals all the same), without it counting as a change of text.
    void restyle(const std::function<void()>& restyle);
    /// The caret of both panes to `position`, nothing selected, scrolled into sight.
    void placeCaret(int position);
    /// Focus to the shown pane.
    void focusShown();
    /// The pane that has the keyboard focus; null when neither has it.
    QPlainTextEdit* paneWithFocus() const;

    /// What the panes mark over their text: the checker's findings and the braces at the caret.
    enum class Marks { Findings, Braces };
    /// `pane` marks `marks` for `kind`, beside the marks of the other kind.
    void setMarks(QPlainTextEdit* pane, Marks kind, QList<QTextEdit::ExtraSelection> marks);
    /// `pane` shows the marks it was given that lie in their line's part in sight (all of a short
    /// line's): again after the part in sight of a long line moves.
    void showMarks(QPlainTextEdit* pane);

    /// The shown pane's selection, line breaks as CR LF.
    QString selectedText() const;
    /// Replaces the shown pane's selection by `text` as one undo step; the caret ends after it.
    void replaceSelection(const QString& text);

signals:
    /// The text of a pane changed (not only its colours).
    void textChanged();
    /// The modified flag was set or cleared.
    void modifiedChanged(bool modified);
    /// The right button was pressed in `pane` at `globalPosition`.
    void contextMenuWanted(QPlainTextEdit* pane, QPoint globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// `to` takes the text of `from`, caret and all.
    void copyText(QPlainTextEdit* from, QPlainTextEdit* to);
    void showPane(bool wrapped);
    void tellModified();

    QPlainTextEdit* unwrapped_;
    QPlainTextEdit* wrapped_;
    bool wrappedShown_ = false;
    bool lastModified_ = false;  // what modifiedChanged told last
    // Whether each pane holds the text of the other: a copy between them is needed only when
    // the other has changed since, which spares a large script a copy on every save.
    bool unwrappedCurrent_ = true;
    bool wrappedCurrent_ = true;
    bool copying_ = false;
    // Each pane's marks by kind: the unwrapped pane's first.
    std::array<std::array<QList<QTextEdit::ExtraSelection>, 2>, 2> marks_;
};

}  // namespace korvex::editor
