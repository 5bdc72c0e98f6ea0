#include "widgets/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/key_preview.h"
#include "platform/text_conversion.h"

namespace korvex::ui {

std::string fromBoxText(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return platform::fromDisplayText(text);
}

QString toBoxText(std::string_view utf8) {
    const QString text = platform::toQString(utf8);
    QString box;
    box.reserve(text.size());
    int lines = 0;
    qsizetype paragraphStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            box.append(c);
            continue;
        }
        // CR LF is one line break.
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            ++i;
        }
        if (++lines >= kLinesPerParagraph ||
            box.size() - paragraphStart >= kCharactersPerParagraph) {
            box.append(QLatin1Char('\n'));
            lines = 0;
            paragraphStart = box.size();
        } else {
            box.append(QChar::LineSeparator);
        }
    }
    return box;
}

void setBoxText(QPlainTextEdit& box, std::string_view utf8) {
    // setPlainText keeps no undo history of its own: switching it off first gains nothing.
    box.setPlainText(toBoxText(utf8));
}

std::string boxText(const QPlainTextEdit& box) {
    return fromBoxText(box.document()->toRawText());
}

std::string selectedBoxText(const QPlainTextEdit& box) {
    return fromBoxText(box.textCursor().selectedText());
}

void copyBoxSelection(QPlainTextEdit& box) {
    const std::string selected = selectedBoxText(box);
    if (!selected.empty()) {
        QApplication::clipboard()->setText(platform::toQString(selected));
    }
    box.setFocus();
}

void installBoxKeyPreview(QWidget& window, QPlainTextEdit& box) {
    platform::installKeyPreview(&window, [&box](QKeyEvent& key) {
        if (key.matches(QKeySequence::Copy)) {
            copyBoxSelection(box);
            return true;
        }
        return false;
    });
}

}  // namespace korvex::ui
