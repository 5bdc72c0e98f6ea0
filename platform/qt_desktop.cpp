#include "platform/qt_desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace korvex::platform {

QUrl QtDesktop::documentUrl(const QString& pathOrAddress) {
    if (pathOrAddress.isEmpty()) {
        return {};
    }
    // A file of that name wins, so "notes:2.txt" opens the file, not a "notes" address.
    const QFileInfo file(pathOrAddress);
    if (file.exists()) {
        return QUrl::fromLocalFile(file.absoluteFilePath());
    }
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (!scheme.match(pathOrAddress).hasMatch()) {
        return {};
    }
    QUrl address(pathOrAddress);
    if (!address.isValid()) {
        return {};
    }
    if (address.isLocalFile()) {
        return QFileInfo::exists(address.toLocalFile()) ? address : QUrl();
    }
    return address;
}

bool QtDesktop::openDocument(const QString& pathOrAddress) {
    const QUrl url = documentUrl(pathOrAddress);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtDesktop::openFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

bool QtDesktop::startProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

}  // namespace korvex::platform
