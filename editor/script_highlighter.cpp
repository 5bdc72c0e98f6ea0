#include "editor/script_highlighter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "editor/long_lines.h"
#include "widgets/contrast.h"

namespace korvex::editor {
namespace {

struct StyleLook {
    QRgb light;  // on a light background
    QRgb dark;   // on a dark one
};

// In the order of ScriptStyle. Colours only: a bold or italic face of the pane's font may
// come from another font with taller lines, and the lines would no longer be evenly spaced.
// The indent has a background tint, not a text colour.
constexpr std::array<StyleLook, kScriptStyleCount> kLooks = {{
    {0x6b6b6b, 0x9e9e9e},  // Comment
    {0x7b1fa2, 0xce93d8},  // Directive
    {0xc43e00, 0xffab40},  // Brace
    {0x00796b, 0x80cbc4},  // Indent
    {0x00796b, 0x80cbc4},  // Alternative
    {0x1565c0, 0x82b1ff},  // Marker
    {0xad1457, 0xf48fb1},  // Reference
}};

}  // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    setBackground(Qt::white);
}

double ScriptHighlighter::contrast(const QColor& a, const QColor& b) {
    return ui::contrastRatio(a, b);
}

void ScriptHighlighter::setBackground(const QColor& background) {
    const bool dark = ui::isDark(background);
    for (std::size_t i = 0; i < kScriptStyleCount; ++i) {
        const StyleLook& look = kLooks[i];
        const QColor colour(dark ? look.dark : look.light);
        QTextCharFormat& format = formats_[i];
        format = QTextCharFormat();
        if (static_cast<ScriptStyle>(i) == ScriptStyle::Indent) {
            // A faint band, so the indent that makes an alternative shows.
            format.setBackground(ui::mixed(background, colour, dark ? 0.3 : 0.18));
            continue;
        }
        format.setForeground(ui::readableOn(colour, background));
    }
    if (on_) {
        rehighlight();
    }
}

void ScriptHighlighter::setOn(bool on) {
    // Off, every line is styled with nothing, which takes the colours away; the highlighter
    // stays on the document, so no colouring waits for later.
    if (on != on_) {
        on_ = on;
        rehighlight();
    }
}

void ScriptHighlighter::highlightBlock(const QString& text) {
    if (!on_) {
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    const auto& spans = styler_.style(std::string_view(utf8.constData(), utf8.size()));
    if (spans.empty()) {
        return;
    }
    const auto [from, to] = partInSight(currentBlock());
    // A span is set only where it meets the coloured part, and only that much of it.
    const auto setPart = [this, from = from, to = to](int start, int end, ScriptStyle style) {
        start = std::max(start, from);
        end = std::min(end, to);
        if (start < end) {
            setFormat(start, end - start, styleFormat(style));
        }
    };
    if (utf8.size() == text.size()) {
        for (const StyleSpan& span : spans) {
            const auto start = static_cast<int>(span.start);
            setPart(start, start + static_cast<int>(span.length), span.style);
        }
        return;
    }
    // Spans count UTF-8 bytes, the block UTF-16 units: the place of every byte, once a line.
    indexOfByte_.assign(static_cast<std::size_t>(utf8.size()) + 1, static_cast<int>(text.size()));
    std::size_t byte = 0;
    for (int i = 0; i < text.size() && byte < indexOfByte_.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const std::size_t bytes = unit < 0x80                    ? 1
                                  : unit < 0x800                 ? 2
                                  : QChar::isHighSurrogate(unit) ? 4
                                  : QChar::isLowSurrogate(unit)  ? 0
                                                                 : 3;
        for (std::size_t k = 0; k < bytes && byte < indexOfByte_.size(); ++k) {
            indexOfByte_[byte++] = i;
        }
    }
    for (const StyleSpan& span : spans) {
        const int start = indexOfByte_[span.start];
        const int end = indexOfByte_[std::min(span.start + span.length, indexOfByte_.size() - 1)];
        setPart(start, end, span.style);
    }
}

}  // namespace korvex::editor
