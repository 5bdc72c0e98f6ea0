#pragma once
// The generated text in a QPlainTextEdit. The text box pays for every block (paragraph) it
// holds: 50,000 one-line paragraphs take about 100 ms to load, the same text in paragraphs of
// many lines a tenth of that. So line breaks go in as line separators inside paragraphs of
// bounded size, and come out again as CR LF, whichever kind they are.

#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;
class QWidget;

namespace korvex::ui {

/// A paragraph of the box ends after this many lines ...
inline constexpr int kLinesPerParagraph = 64;
/// ... or once it holds this many characters, whichever comes first.
inline constexpr int kCharactersPerParagraph = 4096;

/// `utf8` (line breaks CR LF, lone CR or lone LF) as setPlainText takes it: "\n" ends a
/// paragraph, U+2028 breaks a line inside one.
QString toBoxText(std::string_view utf8);

/// Replaces everything `box` holds with `utf8`.
void setBoxText(QPlainTextEdit& box, std::string_view utf8);

/// Everything `box` holds, user edits included, as UTF-8 with CR LF line breaks. Every
/// character is kept (QPlainTextEdit::toPlainText turns no-break spaces into spaces).
std::string boxText(const QPlainTextEdit& box);

/// Text a box holds (QTextDocument::toRawText, its separators) in the same form; safe on any
/// thread, so a large text can be converted away from the window's.
std::string fromBoxText(QString text);

/// The selection of `box` in the same form; empty without a selection.
std::string selectedBoxText(const QPlainTextEdit& box);

/// Puts the selection of `box`, if there is one, on the clipboard in that form, and gives the
/// box the focus.
void copyBoxSelection(QPlainTextEdit& box);

/// Key preview for `window` (platform::installKeyPreview: Esc closes it) in which the copy key
/// runs copyBoxSelection on `box`: the box's own copy would hand the clipboard bare line feeds
/// and turn no-break spaces into spaces.
void installBoxKeyPreview(QWidget& window, QPlainTextEdit& box);

}  // namespace korvex::ui
