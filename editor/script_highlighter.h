#pragma once
#include <QColor>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>
#include <vector>

#include "editor/script_spans.h"

class QTextDocument;

namespace korvex::editor {

/// Colours a pane's script line by line: comments, directives, braces and bars, the indent of
/// alternative lines and the text of alternatives, markers and references, each in a style of
/// its own (ScriptLineStyler says which is which). A long line is coloured only in its part in
/// sight (long_lines.h).
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
