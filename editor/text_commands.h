#pragma once
// The editor's text commands as functions of the selected text: each gives the text that
// replaces the selection. Line breaks are CR LF both ways (a lone CR or LF also ends a line
// on the way in), so the results are the same whatever the pane holds.

#include <QString>

namespace korvex::editor {

/// What Add \s\ and Add \b\ insert: a space and a line break in the generated text.
inline const QString kSpaceMarker = QStringLiteral("\\s\\");
inline const QString kBreakMarker = QStringLiteral("\\b\\");

/// "{|" + `selected` + "}": a block whose first alternative is empty.
QString addBlock(const QString& selected);

/// Every letter to its capital form, by the system's case rules.
QString upperCase(const QString& selected);
/// Every letter to its small form, by the system's case rules.
QString lowerCase(const QString& selected);
/// Small letters, then a capital at the start of every word. Only NUL, tab, LF, VT, FF, CR
/// and space begin a word: after a hyphen, a brace or a bar the letter stays small.
QString titleCase(const QString& selected);
/// A-Z and a-z swapped; every other character, accented letters included, stays.
QString invertCase(const QString& selected);

/// Spaces at both ends dropped, every other space a line break, and one line break in front:
/// a list of words becomes one word a line. Nothing selected gives a single line break.
QString splitText(const QString& selected);

/// Each non-empty line of `selected` as four spaces, the line and CR LF; empty lines go.
/// A selection that ends inside a line gains a line break there.
QString addFourSpaces(const QString& selected);
/// Each non-empty line of `selected` without the spaces at its ends, and CR LF; a line of
/// spaces becomes an empty line, an empty line goes.
QString removeInitialSpaces(const QString& selected);

}  // namespace korvex::editor
