#include "editor/editor_file.h"

#include <string>

#include "engine/reading.h"
#include "platform/text_conversion.h"
#include "store/file_io.h"

namespace korvex::editor {

QString scriptPaneText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    bool first = true;
    for (std::string_view line : store::splitLines(utf8)) {
        if (!first) {
            text += '\n';
        }
        first = false;
        for (char c : line) {
            if (c == '\t') {
                text += "    ";
            } else {
                text += c;
            }
        }
    }
    return platform::toQString(text);
}

std::optional<ScriptText> readScriptFile(const std::filesystem::path& file, QString& failure) {
    std::error_code error;
    std::optional<std::string> bytes = store::readFileBytes(file, &error);
    if (!bytes) {
        if (error == std::errc::no_such_file_or_directory) {
            return ScriptText{};
        }
        failure = platform::toQString(store::failureText("read", file, store::reasonText(error)));
        return std::nullopt;
    }
    const store::DecodedText decoded = store::decode(std::move(*bytes));
    return ScriptText{scriptPaneText(decoded.text), decoded.encoding, decoded.byteOrderMark};
}

store::Outcome writeScriptFile(const std::filesystem::path& file, std::string_view utf8,
                               store::Encoding& encoding, bool byteOrderMark) {
    std::string text;
    text.reserve(utf8.size() + 2);
    text += utf8;
    text += "\r\n";
    return store::writeTextFile(file, text, encoding, byteOrderMark, &encoding);
}

int writingPlace(const QString& text) {
    int place = -1;
    bool commentSeen = false;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            end = text.size();
        }
        const QString line = text.mid(start, end - start);
        const QByteArray utf8 = line.toUtf8();
        if (engine::readScriptLine(std::string_view(utf8.constData(), utf8.size())).kind !=
            engine::ScriptLineKind::Skipped) {
            return 0;
        }
        const bool blank = line.trimmed().isEmpty();
        if (blank && commentSeen && place < 0) {
            place = static_cast<int>(start);
        }
        commentSeen = commentSeen || !blank;
        start = end + 1;
    }
    return place >= 0 ? place : static_cast<int>(text.size());
}

}  // namespace korvex::editor
