#pragma once
#include <QUrl>

#include "platform/desktop.h"

namespace korvex::platform {

/// The real desktop: QDesktopServices for documents and folders, QProcess for programs.
class QtDesktop : public Desktop {
public:
    bool openDocument(const QString& pathOrAddress) override;
    bool openFolder(const QString& folder) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;

    /// The address openDocument hands on: a web address as written, a path as a local-file
    /// address of its absolute path. Empty when `pathOrAddress` names no existing file.
    static QUrl documentUrl(const QString& pathOrAddress);
};

}  // namespace korvex::platform
