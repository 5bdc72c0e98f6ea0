#include "platform/text_conversion.h"

#include <QFile>

namespace korvex::platform {

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString toDisplayText(std::string_view utf8) {
    QString text = toQString(utf8);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::string fromDisplayText(const QString& text) {
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    crlf.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A text box may also hand back the Unicode paragraph separator for a line break.
    crlf.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return toUtf8(crlf);
}

std::filesystem::path toPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::filesystem::path(std::string(bytes.constData(), bytes.size()));
}

QString fromPath(const std::filesystem::path& path) {
    const std::string& native = path.native();
    return QFile::decodeName(QByteArray(native.data(), static_cast<qsizetype>(native.size())));
}

}  // namespace korvex::platform
