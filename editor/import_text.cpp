#include "editor/import_text.h"

#include <QStringView>

namespace korvex::editor {

QString importText(const QString& text, const QString& instruction) {
    constexpr QStringView kCrLf = u"\r\n";
    QStringView rest(text);
    if (rest.endsWith(kCrLf)) {
        rest.chop(kCrLf.size());
    }
    QString result;
    result.reserve(rest.size() + (rest.count(u'\r') + 1) * (instruction.size() + kCrLf.size()));
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = rest.indexOf(u'\r', start);
        const qsizetype end = cr < 0 ? rest.size() : cr;
        result += instruction;
        result += rest.mid(start, end - start);
        result += kCrLf;
        if (cr < 0) {
            return result;
        }
        start = cr + 1;
        if (start < rest.size() && rest[start] == u'\n') {
            ++start;
        }
    }
}

}  // namespace korvex::editor
