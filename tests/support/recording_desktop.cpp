#include "tests/support/recording_desktop.h"

namespace korvex::testing {

bool RecordingDesktop::openDocument(const QString& pathOrAddress) {
    requests_.push_back({Action::OpenDocument, pathOrAddress, {}});
    return succeeds_;
}

bool RecordingDesktop::openFolder(const QString& folder) {
    requests_.push_back({Action::OpenFolder, folder, {}});
    return succeeds_;
}

bool RecordingDesktop::startProgram(const QString& program, const QStringList& arguments) {
    requests_.push_back({Action::StartProgram, program, arguments});
    return succeeds_;
}

}  // namespace korvex::testing
