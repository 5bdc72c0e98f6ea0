#pragma once
#include <QString>
#include <QStringList>

namespace korvex::platform {

/// What the program hands to the desktop. Each call returns whether it worked: false when the
/// file or folder does not exist or nothing could handle it, so the caller can tell the user.
class Desktop {
public:
    virtual ~Desktop() = default;

    /// Opens a file (a path, absolute or relative to the current folder) or a web address
    /// ("https://...", "mailto:...") with the desktop's handler for it.
    virtual bool openDocument(const QString& pathOrAddress) = 0;
    /// Shows a folder in the desktop's file browser.
    virtual bool openFolder(const QString& folder) = 0;
    /// Starts `program` without waiting for it; each argument reaches it as one argument,
    /// spaces and all.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
};

}  // namespace korvex::platform
