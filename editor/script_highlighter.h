#pragma once
#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>
#include <utility>
#include <vector>

#include "editor/script_spans.h"

class QTextBlock;
class QTextDocument;

namespace korvex::editor {

/// Colours a pane's script line by line: comments, directives, braces and bars, the indent of
/// alternative lines and the text of alternatives, markers and references, each in a style of
/// its own (ScriptLineStyler says which is which). A long line (an article pasted whole) is
/// coloured only in the part the pane shows of it and a margin around: formats over a whole
/// megabyte line make every key and every repaint of it take seconds.
class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    /// Colours `document` from now on, for a white background until setBackground says
    /// otherwise.
    explicit ScriptHighlighter(QTextDocument* document);

    /// Takes the light or the dark set of colours by the lightness of `background`, each kept
    /// at a contrast of at least kMinContrast to it, and colours the document again.
    void setBackground(const QColor& background);
    /// Off leaves the text in the pane's own colour. Colours the whole document again at once.
    void setOn(bool on);
    bool isOn() const { return on_; }

    /// Lines longer than this (in UTF-16 units) are coloured only in part.
    static constexpr int kLongLine = 4000;
    /// The part of `block` that carries colours, [first, second); all of a short line.
    std::pair<int, int> colouredPart(const QTextBlock& block) const;
    /// Colours `from` to `to` of `block`, a long line, and leaves the rest of it plain.
    void colourPart(const QTextBlock& block, int from, int to);

    const QTextCharFormat& styleFormat(ScriptStyle style) const {
        return formats_[static_cast<std::size_t>(style)];
    }

    /// The contrast ratio of two colours, 1 to 21, as the accessibility guidelines count it.
    static double contrast(const QColor& a, const QColor& b);
    /// What every coloured text keeps to its background: the guidelines' figure for text.
    static constexpr double kMinContrast = 4.5;

protected:
    void highlightBlock(const QString& text) override;

private:
    bool on_ = true;
    ScriptLineStyler styler_;
    std::array<QTextCharFormat, kScriptStyleCount> formats_;
    std::vector<int> indexOfByte_;  // scratch: a UTF-8 byte's place in the line's QString
};

}  // namespace korvex::editor
