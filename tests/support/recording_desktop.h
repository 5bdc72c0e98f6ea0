#pragma once
#include <vector>

#include "platform/desktop.h"

namespace korvex::testing {

/// A desktop for tests: records every request and opens nothing.
class RecordingDesktop : public platform::Desktop {
public:
    enum class Action { OpenDocument, OpenFolder, StartProgram };
    struct Request {
        Action action;
        QString target;  ///< the document, folder or program
        QStringList arguments;
        friend bool operator==(const Request&, const Request&) = default;
    };

    bool openDocument(const QString& pathOrAddress) override;
    bool openFolder(const QString& folder) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;

    const std::vector<Request>& requests() const { return requests_; }
    /// What every later request reports: true (it worked) unless a test makes the desktop fail.
    void setSucceeds(bool succeeds) { succeeds_ = succeeds; }

private:
    std::vector<Request> requests_;
    bool succeeds_ = true;
};

}  // namespace korvex::testing
