#include "editor/text_commands.h"

#include <functional>

namespace korvex::editor {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kFourSpaces = QStringLiteral("    ");

// The characters after which a word begins for Title Case.
bool beginsWord(QChar previous) {
    switch (previous.unicode()) {
        case 0:
        case '\t':
        case '\n':
        case '\v':
        case '\f':
        case '\r':
        case ' ':
            return true;
        default:
            return false;
    }
}

QStringView trimmedSpaces(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' ')) {
        ++start;
    }
    while (end > start && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return text.mid(start, end - start);
}

// Each non-empty line of `selected` (ending at CR LF, CR or LF) through `change`, each
// followed by CR LF: the selection with a line break after it, read back line by line.
QString eachLine(const QString& selected,
                 const std::function<void(QStringView, QString&)>& change) {
    QString result;
    result.reserve(selected.size() + selected.size() / 8 + 2);
    const QStringView text(selected);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text.at(end) != QLatin1Char('\r') &&
               text.at(end) != QLatin1Char('\n')) {
            ++end;
        }
        if (end > start) {
            change(text.mid(start, end - start), result);
            result += kCrLf;
        }
        start = end + 1;
        if (end + 1 < text.size() && text.at(end) == QLatin1Char('\r') &&
            text.at(end + 1) == QLatin1Char('\n')) {
            ++start;
        }
    }
    return result;
}

}  // namespace

QString addBlock(const QString& selected) {
    return QStringLiteral("{|") + selected + QLatin1Char('}');
}

QString upperCase(const QString& selected) {
    return selected.toUpper();
}

QString lowerCase(const QString& selected) {
    return selected.toLower();
}

QString titleCase(const QString& selected) {
    QString result = selected.toLower();
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (i > 0 && !beginsWord(result.at(i - 1))) {
            continue;
        }
        // A letter outside the first plane is a surrogate pair: capitalise it whole.
        if (result.at(i).isHighSurrogate() && i + 1 < result.size() &&
            result.at(i + 1).isLowSurrogate()) {
            const char32_t upper =
                QChar::toUpper(QChar::surrogateToUcs4(result.at(i), result.at(i + 1)));
            result[i] = QChar(QChar::highSurrogate(upper));
            result[i + 1] = QChar(QChar::lowSurrogate(upper));
            ++i;
        } else {
            result[i] = result.at(i).toUpper();
        }
    }
    return result;
}

QString invertCase(const QString& selected) {
    QString result = selected;
    for (QChar& c : result) {
        const char16_t code = c.unicode();
        if (code >= u'a' && code <= u'z') {
            c = QChar(code - u'a' + u'A');
        } else if (code >= u'A' && code <= u'Z') {
            c = QChar(code - u'A' + u'a');
        }
    }
    return result;
}

QString splitText(const QString& selected) {
    QString words = trimmedSpaces(selected).toString();
    words.replace(QLatin1Char(' '), kCrLf);
    return kCrLf + words;
}

QString addFourSpaces(const QString& selected) {
    return eachLine(selected, [](QStringView line, QString& result) {
        result += kFourSpaces;
        result += line;
    });
}

QString removeInitialSpaces(const QString& selected) {
    return eachLine(selected,
                    [](QStringView line, QString& result) { result += trimmedSpaces(line); });
}

}  // namespace korvex::editor
