#pragma once
// A project file as the editor reads and writes it: lines end at CR LF, a lone CR or a lone
// LF (a file saved by an editor of this system), tabs become four spaces on the way in, and
// the text goes back with CR LF and one final line break, in the encoding it came in while
// that can hold it.

#include <QString>
#include <filesystem>
#include <optional>
#include <string_view>

#include "store/outcome.h"
#include "store/text_codec.h"

namespace korvex::editor {

/// A project file's text as the editor's pane shows it.
struct ScriptText {
    QString text;  ///< lines separated by LF, tabs as four spaces, no final line break
    store::Encoding encoding = store::Encoding::Windows1252;  ///< what the file was read with
    bool byteOrderMark = false;
};

/// The pane text of a script's UTF-8 text.
QString scriptPaneText(std::string_view utf8);

/// Where the caret goes in `text` (pane text) as it opens: in a script of nothing but
/// comments and blank lines, such as a new project's, the first blank line after its first
/// comment (otherwise its end), where the user writes; in any other script its start.
int writingPlace(const QString& text);

/// Reads `file`. A missing file reads as an empty script; one that exists but cannot be read
/// gives std::nullopt and `failure` the message: Could not read "<file>": <reason>.
std::optional<ScriptText> readScriptFile(const std::filesystem::path& file, QString& failure);

/// Writes `utf8` (line breaks CR LF) and a final CR LF to `file`, atomically, in `encoding`
/// when it can hold the text, otherwise as UTF-8; `encoding` then says what was written.
/// Failure message: Could not write "<file>": <reason>.
store::Outcome writeScriptFile(const std::filesystem::path& file, std::string_view utf8,
                               store::Encoding& encoding, bool byteOrderMark);

}  // namespace korvex::editor
